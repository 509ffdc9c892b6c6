// references.hpp: the tests' own arithmetic and transcripts, written here
// independently of the programs and shared by every test that needs them.
#pragma once
#include <cstdint>
#include <string>

// Primality by trial division: divisors up to the square root.
bool prime_by_trial_division(long n);

// The prime p when q = p^k (k >= 1), else 0: the least prime factor divided
// out by trial division.
long prime_of_power(long q);

// b^e mod m (m >= 1) from the highest bit of e down, with products formed
// exactly (in 128 bits from m = 2^32 on): independent of the programs'
// powering, for any 64-bit numbers.
uint64_t power_reference(uint64_t b, uint64_t e, uint64_t m);

// Whether odd n >= 3 passes the strong test to base a: with n - 1 = 2^s d,
// d odd, a^d = 1 or a^(2^r d) = n - 1 for some r < s, each power taken
// afresh rather than by squaring.
bool strong_probable_prime(long n, long a);

// Fermat's walk on odd N as difference_of_squares_walk prints it, by exact
// squares: x from the least x with x*x >= N (found by bisection), y from 0;
// y grows while x*x - y*y > N, x while it is below; each position "(x y)",
// then "\n***(x+y x-y)", or the line that gives up after max_steps steps.
std::string fermat_walk_transcript(int64_t N, long max_steps = 1000000);

// The built-in trace of cycle_doubling_search (u(0) = 16 modulo 41):
// fourteen comparisons against the term before each doubling window, then
// the period 7 and the entry index 3.
extern const char builtin_doubling_search_transcript[];

// The built-in trace of strong_test_trace_1729: 2^27 = 645, 645^2 = 1065 and
// 1065^2 = 1 (mod 1729), a square root of 1 other than -1.
extern const char builtin_strong_test_1729_transcript[];
