// arith.hpp: integer arithmetic shared by the programs.
// Values are 32-bit signed; the products inside mod_pow are formed exactly in
// 64 bits. A prime table belongs to the program that fills it, sized from
// the program's own bound.
#pragma once
#include <cstdint>
#include <vector>

// Sieve of Eratosthenes up to bound: a table of bound + 1 entries (none for a
// bound below 0) where entry i is i for a prime i and 0 otherwise. Multiples
// of p are crossed out from 2p, for every prime p with p*p <= bound.
std::vector<int> sieve_primes(int bound);

// The prime-power variant: entry i is p when i = p^k (k >= 1), else 0.
// Read in index order, the non-zero entries multiply to lcm(1, ..., bound).
std::vector<int> prime_power_table(int bound);

// Moves the non-zero entries of the table, in index order, to the entries
// first, first + 1, ... and sets every other entry to 0; returns how many
// there are. Needs at least `first` zero entries before the first non-zero
// one, as entries 0 and 1 of a prime table are.
int compact_table(std::vector<int> &table, int first);

// Whether n = p^k for some k >= 1 (called with n a multiple of p).
bool is_power_of(int n, int p);

// Whether n is prime, by trial division by every d from 2 up to the square
// root of n (false for n < 2).
bool is_prime(int n);

// Whether n is prime, for any n below 2^64: the strong test to the twelve
// prime bases 2, 3, ..., 37, which no composite below 2^64 passes to all;
// the products of residues are formed in 128 bits.
bool is_prime_64(uint64_t n);

// a^e mod m by square-and-multiply from the lowest bit of e; every product is
// formed in 64 bits and reduced only when it is at least m. 1 when e <= 0.
int mod_pow(int a, int e, int m);

// Euclid with truncating remainders: gcd(a, 0) = a, gcd(0, b) = b, and a
// negative argument can give a negative result.
int gcd(int a, int b);

// Euclid on |a| and |b|; |b| when a is 0. Never negative.
int gcd_abs(int a, int b);

// The pseudo-random numbers of the C library's srand and rand, computed here
// so that a seed draws the same numbers on every platform: the additive
// feedback generator r(i) = r(i-3) + r(i-31) (mod 2^32), seeded through
// 16807 * r (mod 2^31 - 1), whose first 310 outputs are dropped. Each draw
// is r(i) / 2, from 0 to 2^31 - 1.
void seed_random(uint32_t seed);
int next_random();
