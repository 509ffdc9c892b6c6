// The primes up to 500000 by the sieve of Eratosthenes. The table is read in
// index order: a prime's entry holds the prime, every other entry 0, so the
// non-zero entries are the primes in ascending order. They are printed on one
// long line and counted; there are 41538 of them.
#include "arith/arith.hpp"
#include "listing.hpp"
#include <cstdio>

const int bound = 500000; // the primes listed are those up to bound, inclusive

int main()
{
    std::vector<int> prime_table = sieve_primes(bound);
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre = %d \n", count);

    wait_enter();
    return 0;
}
