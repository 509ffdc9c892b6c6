// Trial division, modular power and Euclid's gcd.
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
