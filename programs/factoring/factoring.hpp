// factoring.hpp: the factoring methods, each a function of its numbers that
// reports its steps as events and returns the factor it found. The number
// to factor is below 2^31 (Fermat's walk: below 2^62); every product of two
// residues is formed in 64 bits.
//
// Each run ends with a result event: "n", then "factor" and "cofactor" for a
// proper split n = factor * cofactor, or "factor": null with the "reason":
// "prime" whenever n is prime, otherwise "no factor within the bound", "gcd
// is n" or "steps exhausted". A pause follows, where the program waits.
#pragma once
#include "arith/arith.hpp"
#include "views/classic.hpp"
#include "views/explain.hpp"
#include <cstdint>

// Pollard p-1 with base 2: lists the prime-power bases up to `bound`, then
// raises the power to them one at a time, with gcd(power - 1, n) per step.
// Returns the first gcd above 1, or 0 when every base has been applied.
int pminus1_prime_powers(int n, int bound, Steps &out);

// Pollard p-1 with the exponents 1!, 2!, ..., last_step!, each shown
// exactly. Returns the first gcd above 1, or 0 after the last step.
int pminus1_factorial(int n, int last_step, Steps &out);

// lcm(1, ..., bound) as the product of the prime-power bases, kept to its
// low 32 bits and read as two's complement.
int ppmc_exponent(int bound);

// One base b: the step of b^P mod n with gcd(b^P - 1, n); returns the gcd.
int pminus1_attempt(int n, int base, int P, Steps &out);

// Pollard p-1 with the exponent P = ppmc_exponent(bound) and bases drawn
// with next_random() after seed_random(seed), until one gives a proper
// factor, which is returned; after max_draws without one, 0.
int pminus1_random_base(int n, uint32_t seed, int bound, int max_draws, Steps &out);

// (x*x + 1) mod m, for 0 <= x < m: the map of both rho walks.
int square_plus_one(int x, int m);

// Pollard rho from x0 with Floyd's tortoise and hare, at most max_steps
// steps. Returns the factor found, n when the walks met ("Rate"), or 0.
int rho_floyd(int n, int x0, int max_steps, Steps &out);

// Rho from x(1) = 1, each value compared with the one kept at the last
// power-of-two index, up to index max_index + 1; then the same walk modulo
// `modulus` (the divisor found when it is 0; nothing when there is none),
// recorded until the power-of-two comparison gives its period T, and the
// index where its cycle begins. Returns the divisor found, or 0.
int rho_factor_16019(int n, int modulus, int max_index, Steps &out);

// Fermat's walk from x = ceil(sqrt N), y = 0 for odd N, every position
// reported. Returns the factor x + y, or 0 after max_steps steps without
// x*x - y*y = N.
int64_t difference_of_squares_walk(int64_t N, long max_steps, Steps &out);

// The result event of a run: the split n = factor * (n / factor) when
// 1 < factor < n, else no factor and why: "prime" when n is prime, whatever
// the method met, else `failure`. `extra` are further name-value pairs.
template <class... Extra>
void report_split(Steps &out, const char *what, int64_t n, int64_t factor, const char *failure,
                  const Extra &...extra)
{
    if (factor > 1 && factor < n)
        out.result(what, "n", n, "factor", factor, "cofactor", n / factor, extra...);
    else
        out.result(what, "n", n, "factor", Missing{}, "reason",
                   is_prime_64(static_cast<uint64_t>(n)) ? "prime" : failure, extra...);
}

// The views of the factoring methods, and what each program's trace shows.
extern const ClassicTable factoring_classic;
extern const ExplainTable factoring_explain;
extern const Legend pminus1_prime_powers_legend, pminus1_factorial_legend, pminus1_random_base_legend,
    rho_floyd_legend, rho_factor_16019_legend, difference_of_squares_walk_legend;
