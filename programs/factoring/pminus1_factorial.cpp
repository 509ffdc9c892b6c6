// Pollard's p-1 method on m = 10403 = 101 * 103 with the exponents 1!, 2!,
// 3!, ...: i! is a multiple of p - 1 as soon as i reaches the largest prime
// power dividing p - 1, and then gcd(2^i! - 1, m) shows the prime p. Here
// p = 101 with p - 1 = 2^2 * 5^2, which 10! contains first.
#include "arith/arith.hpp"
#include <cstdint>
#include <cstdio>

const int last_step = 13; // 13! is the last exponent tried

int m; // the number to factor

// The steps have external linkage: the factoring test builds this file once
// more, main renamed, and runs them on other moduli.

// Steps 1, 2, ... up to the first gcd above 1, or up to step 13.
void factorial_steps()
{
    // a = 2^f with f = i!, kept between 1 and m.
    int a = 2, f = 1, i = 1;
    for (;;) {
        // 2^i! = (2^(i-1)!)^i: i - 1 more multiplications by the previous
        // power. Each product stays below m*m < 2^31 and is brought back to
        // at most m by subtraction.
        if (i >= 2) {
            int c = a;
            for (int k = 1; k <= i - 1; k++) {
                a = a * c;
                while (a > m)
                    a = a - m;
            }
        }
        printf("\n%d puissance  %9.d  =  %6.d", 2, f, a);
        int g = gcd(a - 1, m);
        printf("         pgcd(%6.d %6.d)  =%8.d", a - 1, m, g);
        if (g > 1)
            break;
        // From 13! on the factorial leaves 32 bits and keeps its low 32 bits,
        // as a 32-bit product does; formed unsigned, so nothing overflows.
        i = i + 1;
        f = static_cast<int>(static_cast<uint32_t>(f) * static_cast<uint32_t>(i));
        if (i > last_step)
            break;
    }
}

int main()
{
    m = 10403;
    printf("m=%d\n", m);
    printf("***********\n");
    factorial_steps();
    wait_enter();
    return 0;
}
