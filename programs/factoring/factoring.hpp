// factoring.hpp: the factoring methods, each a trace printed step by step.
// The number to factor is below 2^31 (Fermat's walk: below 2^62); every
// product of two residues is formed in 64 bits.
#pragma once
#include <cstdint>

// Pollard p-1 with base 2: lists the prime-power bases up to `bound`, then
// raises the power to them one at a time, with gcd(power - 1, m) per step.
// Returns the first gcd above 1, or 0 when every base has been applied.
int pminus1_prime_powers_trace(int m, int bound);

// Pollard p-1 with the exponents 1!, 2!, ..., last_step!, each printed
// exactly. Returns the first gcd above 1, or 0 after the last step.
int pminus1_factorial_trace(int m, int last_step);

// lcm(1, ..., bound) as the product of the prime-power bases, kept to its
// low 32 bits and read as two's complement.
int ppmc_exponent(int bound);

// One base b: the line of b^P mod n with gcd(b^P - 1, n); returns the gcd.
int pminus1_attempt(int n, int base, int P);

// Bases drawn with next_random() until one gives a proper factor, which is
// returned; after max_draws without one, a line says so and 0 is returned.
int pminus1_random_draws(int n, int P, int max_draws);

// (x*x + 1) mod m, for 0 <= x < m: the map of both rho walks.
int square_plus_one(int x, int m);

// Pollard rho from x0 with Floyd's tortoise and hare, at most max_steps
// steps. Returns the factor found, n when the walks met ("Rate"), or 0.
int rho_floyd_trace(int n, int x0, int max_steps);

// Rho from 1, each value compared with the one kept at the last power-of-two
// index, up to index max_index + 1. Returns the divisor found, or 0.
int rho_saved_powers_trace(int n, int max_index);

// The same walk modulo p, recorded until the power-of-two comparison gives
// its period T; then the index where its cycle begins.
struct RhoPeriod {
    long period, entry;
};
RhoPeriod rho_period_trace(int p);

// Fermat's walk from x = ceil(sqrt N), y = 0 for odd N, every position
// printed. Returns the factor x + y, or 0 after max_steps steps without
// x*x - y*y = N (a line then says so).
int64_t difference_of_squares_trace(int64_t N, long max_steps);
