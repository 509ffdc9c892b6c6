// primality.hpp: the prime listings and the probable-prime tests of the
// primality programs, as functions of their numbers. Each prints its trace
// on standard output.
#pragma once

// The primes up to limit from the sieve, listed and counted ...
void prime_listing_trace(int limit);
// ... then, after a pause, moved to the front of the table and listed again.
void prime_listing_compacted_trace(int limit);
// ... then their proportion count / limit beside `theoretical`.
void prime_proportion_trace(int limit, double theoretical);

// The composites n in 3 .. limit with 2^(n-1) = 1 (mod n), then those of
// them that pass to base 3, then to base 5, each list with its count.
void fermat_pseudoprimes_trace(int limit);
// The odd composites below limit that pass the strong test to base 2.
void strong_pseudoprimes_trace(int limit);

// The strong test to base a on one odd n, every squaring shown.
void strong_test_trace(int n, int a);
// Its verdict for every odd n from 3 to limit - 1, from the test alone.
void strong_test_odd_trace(int limit);

// The square spiral's points from the origin, then n*n + b*n + c for
// n = 0 .. polynomial_last, each with its index in the prime table of
// 0 .. spiral_sieve_bound when it is a prime.
const int polynomial_last = 40;
const int spiral_sieve_bound = 10000;
void spiral_coordinates_trace(int b, int c);
