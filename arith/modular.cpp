// Trial division, the strong test below 2^64, modular power and Euclid's gcd.
#include "arith/arith.hpp"
#include <cstdint>
#include <cstdlib>

bool is_prime(int n)
{
    if (n < 2)
        return false;
    // A composite n has a divisor d with d * d <= n, so the trial stops at
    // the square root (d <= n / d keeps d * d from overflowing near 2^31).
    for (int d = 2; d <= n / d; d++)
        if (n % d == 0)
            return false;
    return true;
}

__extension__ typedef unsigned __int128 uint128;

// x * y mod m, exactly, for residues x, y < m < 2^64.
static uint64_t mul_mod_64(uint64_t x, uint64_t y, uint64_t m)
{
    return static_cast<uint64_t>(static_cast<uint128>(x) * y % m);
}

bool is_prime_64(uint64_t n)
{
    static const uint64_t bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    if (n < 2)
        return false;
    // The bases themselves, and their multiples, are settled by division.
    for (uint64_t p : bases)
        if (n % p == 0)
            return n == p;
    // n - 1 = 2^s * d with d odd.
    uint64_t d = n - 1;
    int s = 0;
    while (d % 2 == 0) {
        d /= 2;
        s++;
    }
    for (uint64_t a : bases) {
        // x = a^d mod n, by square-and-multiply.
        uint64_t x = 1, b = a, e = d;
        while (e > 0) {
            if (e & 1)
                x = mul_mod_64(x, b, n);
            b = mul_mod_64(b, b, n);
            e >>= 1;
        }
        // A prime n leaves a^d = 1, or reaches -1 among the s - 1 squares
        // that follow: the only square roots of 1 modulo a prime are +1 and -1.
        if (x == 1 || x == n - 1)
            continue;
        bool minus_one = false;
        for (int r = 1; r < s && !minus_one; r++) {
            x = mul_mod_64(x, x, n);
            minus_one = x == n - 1;
        }
        if (!minus_one)
            return false; // a is a witness: n is composite
    }
    return true;
}

int mod_pow(int a, int e, int m)
{
    int64_t r = 1;
    int64_t base = a;
    // The base is not reduced beforehand: its first product or square is.
    // After the highest bit of e the square would not be used, and it is
    // not formed: the searches over millions of moduli spend their time on
    // these dependent squarings.
    while (e > 0) {
        if (e % 2 == 1) {
            r = r * base;
            if (r >= m)
                r %= m;
        }
        e /= 2;
        if (e == 0)
            break;
        base = base * base;
        if (base >= m)
            base %= m;
    }
    return static_cast<int>(r);
}

int gcd(int a, int b)
{
    while (b != 0) {
        // A remainder by -1 is 0; computed directly, since INT_MIN % -1
        // overflows (and traps) in 32 bits.
        int t = b == -1 ? 0 : a % b;
        a = b;
        b = t;
    }
    return a;
}

int gcd_abs(int a, int b)
{
    a = std::abs(a);
    b = std::abs(b);
    if (a == 0)
        return b;
    return gcd(a, b);
}
