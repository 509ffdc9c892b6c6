// The primes up to 100000 by the sieve of Eratosthenes, listed and counted
// (9592 of them), then moved to the front of the table and listed a second
// time from there. After the move entries 0 ... 9591 hold the primes in
// ascending order and every other entry is 0, so the second listing simply
// runs until the first zero.
#include "arith/arith.hpp"
#include "listing.hpp"
#include <cstdio>

const int bound = 100000; // the primes listed are those up to bound, inclusive

int main()
{
    std::vector<int> prime_table = sieve_primes(bound);

    // First listing: the non-zero entries of the sieve, in index order.
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre =%d \n", count);
    wait_enter();

    // Compaction: each prime moves down to the next free entry from 0.
    compact_table(prime_table, 0);

    // Second listing: from the front, up to the first zero (entry 9592).
    for (int k = 0; k <= bound && prime_table[k] != 0; k++)
        printf("%d ", prime_table[k]);

    wait_enter();
    return 0;
}
