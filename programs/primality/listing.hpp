// listing.hpp: the listing shared by the three prime-listing programs.
#pragma once
#include "arith/arith.hpp"
#include <cstdio>

// Prints the non-zero entries of the sieve's table in index order, each as
// "%d " on one long line, and returns how many there are. These are the
// primes up to the sieve's bound in ascending order: 0, 1 and the composites
// hold 0 and print nothing.
inline int print_prime_listing(const std::vector<int> &prime_table)
{
    int count = 0;
    for (int entry : prime_table)
        if (entry != 0) {
            printf("%d ", entry);
            count++;
        }
    return count;
}
