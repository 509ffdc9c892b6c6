// Strong pseudoprimes to base 2: the odd composites n < 100000 that pass the
// Miller-Rabin test to base 2. With n - 1 = 2^s * d, d odd, n passes when
// 2^d = 1 or one of 2^d, 2^(2d), ..., 2^(2^(s-1) d) is n - 1 (mod n). A prime
// always passes, since the only square roots of 1 modulo a prime are 1 and
// -1; a composite that passes is a strong pseudoprime. Compositeness is read
// from the sieve. Sixteen are found, the first being 2047 = 23 * 89.
#include "arith/arith.hpp"
#include <cstdint>
#include <cstdio>

const int bound = 100000; // the candidates are the odd n from 3 to bound - 1

// The strong pseudoprimes found, in ascending order.
int strong_list[bound];

int main()
{
    std::vector<int> prime_table = sieve_primes(bound);

    int strong_count = 0;
    for (int n = 3; n < bound; n += 2) {
        // n - 1 = 2^s * d with d odd, s >= 1.
        int d = n - 1, s = 0;
        while (d % 2 == 0) {
            d /= 2;
            s++;
        }

        int x = mod_pow(2, d, n);
        bool passes = x == 1 || x == n - 1;
        // Square up to s - 1 times. A square of 1 that did not come from
        // -1 shows a non-trivial square root of 1: n is composite.
        for (int r = 1; r < s && !passes; r++) {
            // The square of a residue near 10^5 needs more than 32 bits.
            int64_t square = static_cast<int64_t>(x) * x;
            x = static_cast<int>(square >= n ? square % n : square);
            if (x == 1)
                break;
            if (x == n - 1)
                passes = true;
        }

        if (passes && prime_table[n] == 0)
            strong_list[strong_count++] = n;
    }

    puts(" \n Nombres non premiers, parmi les fort probablement premiers \n");
    for (int i = 0; i < strong_count; i++)
        printf(" %d ", strong_list[i]);

    wait_enter();
    return 0;
}
