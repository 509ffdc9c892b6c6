// The primes up to 100000 by the sieve of Eratosthenes, listed and counted
// (9592 of them), then moved to the front of the table and listed a second
// time from there. After the move entries 0 ... 9591 hold the primes in
// ascending order and every other entry is 0, so the second listing simply
// runs until the first zero.
#include "arith/arith.hpp"
#include "listing.hpp"
#include <cstdio>

const int bound = 100000; // the primes listed are those up to bound, inclusive

// The sieve's table, indices 0 ... bound.
int prime_table[bound + 1];

int main()
{
    sieve_primes(bound);

    // First listing: the non-zero entries of the sieve, in index order.
    int count = print_prime_listing(bound);
    printf("\n*** Nombre =%d \n", count);
    wait_enter();

    // Compaction: each prime moves down to the next free slot c. Entries 0
    // and 1 are zero, so c stays at least 2 below j whenever a prime moves,
    // and clearing entry j never erases a prime already moved.
    int c = 0;
    for (int j = 0; j <= bound; j++)
        if (prime_table[j] != 0) {
            prime_table[c] = prime_table[j];
            prime_table[j] = 0;
            c++;
        }

    // Second listing: from the front, up to the first zero (entry 9592).
    for (int k = 0; k <= bound && prime_table[k] != 0; k++)
        printf("%d ", prime_table[k]);

    wait_enter();
    return 0;
}
