// Pollard's p-1 method in three forms. For a prime p dividing n and an
// exponent E that is a multiple of p - 1, Fermat gives b^E = 1 (mod p), so
// p divides gcd(b^E - 1, n). The exponent is built from small prime powers
// (lcm(1, ..., q) after the base q, or i! after step i), so p shows as soon
// as p - 1 has no prime-power factor beyond what the exponent has reached.
#include "arith/arith.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>
#include <vector>

int pminus1_prime_powers(int n, int bound, Steps &out)
{
    out.run("pminus1_prime_powers", "n", n, "bound", bound, "base", 2);
    // The bases: entry q of the table is p when q is a power of the prime p.
    std::vector<int> prime_table = prime_power_table(bound);
    std::vector<int> powers{0}; // powers[k]: the prime power q of the k-th base
    for (int q = 0; q <= bound; q++)
        if (prime_table[q] != 0) {
            out.item("prime_power", "q", q, "prime", prime_table[q]);
            powers.push_back(q);
        }

    // Move them down to entries 1 .. count, keeping their order.
    int count = compact_table(prime_table, 1);
    out.phase("bases");
    for (int k = 1; k <= count; k++)
        out.item("base", "k", k, "prime", prime_table[k]);
    out.phase("powers", "n", n);

    // Step k raises the power to the (k-1)-th base: a = 2^(b1*...*b(k-1)),
    // so the last base is applied at step count + 1. When n is a power of 2
    // the power becomes 0 and a - 1 is -1, whose gcd with n is 1.
    int a = 2, g = 0;
    out.step("first_power", "k", 1, "power", a);
    for (int k = 2; k <= count + 1 && g <= 1; k++) {
        a = mod_pow(a, prime_table[k - 1], n);
        g = gcd_abs(a - 1, n);
        out.step("prime_power_step", "k", k, "power", a, "power_minus_one", a - 1, "n", n, "gcd", g, "prime",
                 prime_table[k - 1], "prime_power", powers[k - 1]);
    }
    // A gcd of n itself: every prime of n showed at the same base.
    report_split(out, "pminus1_prime_powers", n, g, g == n ? "gcd is n" : "no factor within the bound");
    out.pause();
    return g > 1 ? g : 0;
}

int pminus1_factorial(int n, int last_step, Steps &out)
{
    out.run("pminus1_factorial", "n", n, "base", 2, "last_step", last_step);
    // a = 2^f with f = i!, kept between 1 and n: a multiple of n stands as n.
    int64_t a = 2, f = 1;
    int g = 0;
    for (int i = 1; i <= last_step && g <= 1; i++) {
        // 2^i! = (2^(i-1)!)^i: i - 1 more multiplications by the previous
        // power, each product below n*n < 2^62. f = i! exactly: 13!, the
        // largest, fits 64 bits.
        if (i >= 2) {
            f = f * i;
            int64_t c = a;
            for (int k = 1; k <= i - 1; k++) {
                a = a * c % n;
                if (a == 0)
                    a = n;
            }
        }
        g = gcd(static_cast<int>(a - 1), n);
        out.step("factorial_step", "base", 2, "exponent", f, "power", a, "power_minus_one", a - 1, "n", n,
                 "gcd", g, "i", i);
    }
    report_split(out, "pminus1_factorial", n, g, g == n ? "gcd is n" : "no factor within the bound");
    out.pause();
    return g > 1 ? g : 0;
}

int ppmc_exponent(int bound)
{
    std::vector<int> prime_table = prime_power_table(bound);
    int count = compact_table(prime_table, 1);
    // From the bound 23 on the product leaves 31 bits; it keeps its low 32
    // bits, formed unsigned. For the bound 40 they are 730773792 = 2^5 * 3^3
    // * 7 * 120829, still a multiple of 16 and 18 (so of p - 1 for p = 17
    // and 19), no longer of 100.
    uint32_t product = 1;
    for (int c = 1; c <= count; c++)
        product = product * static_cast<uint32_t>(prime_table[c]);
    return static_cast<int32_t>(product);
}

int pminus1_attempt(int n, int base, int P, Steps &out)
{
    // x = 0 (n a power of the base's primes) makes x - 1 = -1: gcd 1.
    int x = mod_pow(base, P, n);
    int g = gcd_abs(x - 1, n);
    out.step("draw", "power_minus_one", x - 1, "n", n, "gcd", g, "base", base);
    return g;
}

int pminus1_random_base(int n, uint32_t seed, int bound, int max_draws, Steps &out)
{
    seed_random(seed);
    int P = ppmc_exponent(bound);
    out.run("pminus1_random_base", "n", n, "seed", static_cast<long long>(seed), "bound", bound, "exponent",
            P, "max_draws", max_draws);
    // A gcd of 1 or of n itself tells nothing, and another base is drawn.
    int g = 0;
    for (int draw = 1; draw <= max_draws; draw++) {
        int base = next_random() % (n - 2) + 1; // 1 .. n - 2
        int d = pminus1_attempt(n, base, P, out);
        if (d > 1 && d < n) {
            g = d;
            break;
        }
    }
    if (g == 0)
        out.step("draws_exhausted", "draws", max_draws);
    report_split(out, "pminus1_random_base", n, g, "steps exhausted");
    out.pause();
    return g;
}
