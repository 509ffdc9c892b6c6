// The strong test to base 2 on every odd n from 3 to 99, each with its
// verdict: "FPP" (strong probable prime) or "non premier" (shown composite).
// With n - 1 = 2^s * d, d odd, n passes when 2^d = 1 or one of 2^d, 2^(2d),
// ..., 2^(2^(s-1) d) is n - 1 (mod n). No sieve is used: the verdicts come
// from the test alone, and below 100 they agree with primality, since the
// least strong pseudoprime to base 2 is 2047.
#include "arith/arith.hpp"
#include <cstdio>

const int last = 99; // the candidates are the odd n from 3 to last

int main()
{
    for (int n = 3; n <= last; n += 2) {
        // n - 1 = 2^s * d with d odd, s >= 1.
        int d = n - 1, s = 0;
        while (d % 2 == 0) {
            d /= 2;
            s++;
        }

        // 2^d mod n by doubling.
        int x = 1;
        for (int i = 0; i < d; i++) {
            x = x + x;
            while (x >= n)
                x -= n;
        }
        if (x == 1 || x == n - 1) {
            printf(" %d FPP ", n);
            continue;
        }

        // Square up to s - 1 times (products stay below 99^2): 1 before -1
        // is a non-trivial square root of 1, -1 lets n pass.
        int r;
        for (r = 1; r < s; r++) {
            x = x * x;
            while (x >= n)
                x -= n;
            if (x == 1) {
                printf(" %d non premier ", n);
                break;
            }
            if (x == n - 1) {
                printf(" %d FPP ", n);
                break;
            }
        }
        // Neither value after every squaring: n is composite.
        if (r == s)
            printf(" %d non premier ", n);
    }

    wait_enter();
    return 0;
}
