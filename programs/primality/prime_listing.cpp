// The primes up to 500000 by the sieve of Eratosthenes. The table is read in
// index order: a prime's entry holds the prime, every other entry 0, so the
// non-zero entries are the primes in ascending order. They are printed on one
// long line and counted; there are 41538 of them.
#include "arith/arith.hpp"
#include <cstdio>

const int bound = 500000; // the primes listed are those up to bound, inclusive

// The sieve's table, indices 0 ... bound: about 2 MB, program-wide.
int prime_table[bound + 1];

int main()
{
    sieve_primes(bound);

    // 0, 1 and the composites hold 0 and print nothing.
    int count = 0;
    for (int i = 0; i <= bound; i++)
        if (prime_table[i] != 0) {
            printf("%d ", prime_table[i]);
            count++;
        }
    printf("\n*** Nombre = %d \n", count);

    wait_enter();
    return 0;
}
