// Fermat pseudoprimes: composite n with a^(n-1) = 1 (mod n). Every composite
// n <= 10000 that passes to base 2 is listed (22 of them), then those that
// also pass to base 3 (7) and to base 5 (4). Compositeness is read from the
// sieve, never from the test. A multiple of the base can never pass, since
// a^(n-1) mod n is then a multiple of gcd(a, n) > 1; such numbers are marked
// as they go by, and the survivors of all three bases are Carmichael numbers.
#include "arith/arith.hpp"
#include <cstdio>

const int bound = 10000; // the candidates are 3 ... bound

// The composites that pass to base 2; those of them that also pass to base
// 3; those of these that also pass to base 5. Each in ascending order.
int fermat_list[bound];
int base3_list[bound];
int base5_list[bound];

int main()
{
    std::vector<int> prime_table = sieve_primes(bound);

    // Base 2, on every n (an even n never passes: 2^(n-1) mod n is even).
    // The table is read only for the numbers that pass.
    int fermat_count = 0;
    for (int n = 3; n <= bound; n++)
        if (mod_pow(2, n - 1, n) == 1 && prime_table[n] == 0) {
            fermat_list[fermat_count++] = n;
            printf("  %d", n);
        }
    printf("\n nombre de faux premiers probables avec 2 = %d\n\n", fermat_count);

    // Base 3 on the base-2 liars; the multiples of 3 are marked, and still tested.
    int base3_count = 0;
    for (int i = 0; i < fermat_count; i++) {
        int a = fermat_list[i];
        if (a % 3 == 0)
            printf(" %d non premier  ", a);
        if (mod_pow(3, a - 1, a) == 1) {
            printf("  %d", a);
            base3_list[base3_count++] = a;
        }
    }
    printf("\n\n nombre de faux premiers probables avec 2 et 3 = %d\n\n", base3_count);
    for (int i = 0; i < base3_count; i++)
        printf(" %d ", base3_list[i]);

    // Base 5 on the survivors of bases 2 and 3, on the same line.
    int base5_count = 0;
    for (int i = 0; i < base3_count; i++) {
        int b = base3_list[i];
        if (b % 5 == 0)
            printf(" %d non premier  ", b);
        if (mod_pow(5, b - 1, b) == 1) {
            printf("  %d", b);
            base5_list[base5_count++] = b;
        }
    }
    printf("\n\n nombre de faux premiers probables avec 2, 3 et 5 = %d\n\n", base5_count);
    for (int i = 0; i < base5_count; i++)
        printf(" %d ", base5_list[i]);

    wait_enter();
    return 0;
}
