// listing.hpp: the listing shared by the three prime-listing programs.
#pragma once
#include "arith/arith.hpp"
#include <cstdio>

// Prints the non-zero entries of prime_table[0 ... bound] in index order,
// each as "%d " on one long line, and returns how many there are. After the
// sieve these are the primes up to bound in ascending order: 0, 1 and the
// composites hold 0 and print nothing.
inline int print_prime_listing(int bound)
{
    int count = 0;
    for (int i = 0; i <= bound; i++)
        if (prime_table[i] != 0) {
            printf("%d ", prime_table[i]);
            count++;
        }
    return count;
}
