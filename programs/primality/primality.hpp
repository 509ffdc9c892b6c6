// primality.hpp: the prime listings and the probable-prime tests of the
// primality programs, as functions of their numbers. Each reports its steps
// to a Steps sink (a listing as one item event per number) and returns what
// it found; the views render them.
#pragma once
#include "views/classic.hpp"
#include "views/explain.hpp"
#include <vector>

// The primes up to limit from the sieve, as "prime" items, then their count;
// returns the count.
int prime_listing(int limit, Steps &out);
// The same listing and count, then, after a pause, the primes moved to the
// front of the table and listed again from there ("compacted" items) up to
// its first zero; returns the length of the second listing.
int prime_listing_compacted(int limit, Steps &out);

// The listing, then the proportion count / limit beside `theoretical`, the
// value the trace calls the theoretical proportion, and 1/ln(limit).
struct PrimeProportion {
    int count;
    double proportion;
};
PrimeProportion prime_proportion(int limit, double theoretical, Steps &out);

// The composites n in 3 .. limit with 2^(n-1) = 1 (mod n), then those of
// them that pass to base 3, then to base 5.
struct FermatPseudoprimes {
    std::vector<long long> base_2, bases_2_3, bases_2_3_5;
};
FermatPseudoprimes fermat_pseudoprimes(int limit, Steps &out);

// The strong test of odd n >= 3 to base a: n - 1 = 2^s * q with q odd, then
// a^q and up to s - 1 squarings of it, until 1 or n - 1 decides.
struct StrongTest {
    int s, q;
    int squarings; // how many squarings were made, 0 when a^q decided
    int power;     // the last power computed: a^(2^squarings * q) mod n
    bool passes;   // a^q = 1, or n - 1 was reached
};
StrongTest strong_test_of(int n, int a);

// The odd composites below limit that pass the strong test to base 2.
std::vector<long long> strong_pseudoprimes(int limit, Steps &out);
// The strong test to base a on one odd n, every squaring reported.
StrongTest strong_test(int n, int a, Steps &out);

// The verdict of the strong test to base 2 for every odd n from 3 to
// limit - 1, from the test alone; and the composites among those that pass.
struct OddVerdicts {
    int tested, passed;
    std::vector<long long> pseudoprimes;
};
OddVerdicts strong_test_odd(int limit, Steps &out);

// The square spiral's points from the origin, then n*n + b*n + c for
// n = 0 .. polynomial_last, each with its index in the prime table of
// 0 .. spiral_sieve_bound when it is a prime.
const int polynomial_last = 40;
const int spiral_sieve_bound = 10000;
struct SpiralValues {
    int points;                     // the points listed
    std::vector<long long> primes;  // the values that are prime, in order of n
    int first_non_prime;            // the least n whose value is not prime, -1 if none
};
SpiralValues spiral_coordinates(int b, int c, Steps &out);

// The least prime factor of n >= 2 (n itself for a prime), by trial division.
long long least_factor(long long n);

// The views of the primality programs, and the legend of each trace.
extern const ClassicTable primality_classic;
extern const ExplainTable primality_explain;
extern const Legend prime_listing_legend, prime_listing_compacted_legend, prime_proportion_legend,
    fermat_pseudoprimes_legend, strong_pseudoprimes_legend, strong_test_legend, strong_test_odd_legend,
    spiral_legend;
