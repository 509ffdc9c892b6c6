// Pollard's p-1 method in three forms. For a prime p dividing m and an
// exponent E that is a multiple of p - 1, Fermat gives b^E = 1 (mod p), so
// p divides gcd(b^E - 1, m). The exponent is built from small prime powers
// (lcm(1, ..., q) after the base q, or i! after step i), so p shows as soon
// as p - 1 has no prime-power factor beyond what the exponent has reached.
#include "arith/arith.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>
#include <cstdio>
#include <vector>

int pminus1_prime_powers_trace(int m, int bound)
{
    // The bases: entry q of the table is p when q is a power of the prime p.
    std::vector<int> prime_table = prime_power_table(bound);
    int count = 0;
    for (int j = 0; j <= bound; j++)
        if (prime_table[j] != 0) {
            printf("%d ", prime_table[j]);
            count++;
        }

    // Move them down to entries 1 .. count, keeping their order.
    compact_table(prime_table, 1);
    printf("\n");
    for (int k = 1; k <= count; k++)
        printf("%d ", prime_table[k]);
    printf("  \n *** m=%d ***\n", m);

    // Step k raises the power to the (k-1)-th base: a = 2^(b1*...*b(k-1)),
    // so the last base is applied at step count + 1. When m is a power of 2
    // the power becomes 0 and a - 1 is -1, whose gcd with m is 1.
    printf("\n 1  %5.d ", 2);
    int a = 2;
    for (int k = 2; k <= count + 1; k++) {
        a = mod_pow(a, prime_table[k - 1], m);
        printf("\n%2.d  %5.d ", k, a);
        int g = gcd_abs(a - 1, m);
        printf("   pgcd(%5.d %5.d)  =%7.d", a - 1, m, g);
        if (g > 1)
            return g;
    }
    return 0;
}

int pminus1_factorial_trace(int m, int last_step)
{
    // a = 2^f with f = i!, kept between 1 and m: a multiple of m stands as m.
    int64_t a = 2, f = 1;
    for (int i = 1;;) {
        // 2^i! = (2^(i-1)!)^i: i - 1 more multiplications by the previous
        // power, each product below m*m < 2^62.
        if (i >= 2) {
            int64_t c = a;
            for (int k = 1; k <= i - 1; k++) {
                a = a * c % m;
                if (a == 0)
                    a = m;
            }
        }
        printf("\n%d puissance  %9.lld  =  %6.lld", 2, static_cast<long long>(f), static_cast<long long>(a));
        int g = gcd(static_cast<int>(a - 1), m);
        printf("         pgcd(%6.lld %6.d)  =%8.d", static_cast<long long>(a - 1), m, g);
        if (g > 1)
            return g;
        // f = i! exactly: 14!, the largest formed, still fits 64 bits.
        i = i + 1;
        f = f * i;
        if (i > last_step)
            return 0;
    }
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

int pminus1_attempt(int n, int base, int P)
{
    // x = 0 (n a power of the base's primes) makes x - 1 = -1: its gcd is 1.
    int x = mod_pow(base, P, n);
    int g = gcd_abs(x - 1, n);
    printf("\n   pgcd(%5.d %5.d)  =%7.d", x - 1, n, g);
    return g;
}

int pminus1_random_draws(int n, int P, int max_draws)
{
    // A gcd of 1 or of n itself tells nothing, and another base is drawn.
    for (int draw = 1; draw <= max_draws; draw++) {
        int base = next_random() % (n - 2) + 1; // 1 .. n - 2
        int g = pminus1_attempt(n, base, P);
        if (g > 1 && g < n)
            return g;
    }
    printf("\n   aucun facteur en %d tirages", max_draws);
    return 0;
}
