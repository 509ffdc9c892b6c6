// Fermat pseudoprimes: composites n with a^(n-1) = 1 (mod n), to base 2 and
// then also to bases 3 and 5. Compositeness is read from the sieve, never
// from the test.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cstdio>

// The numbers of `list` that pass the Fermat test to `base`, in order. A
// multiple of the base can never pass, since base^(n-1) mod n is then a
// multiple of gcd(base, n) > 1; such numbers are marked as they go by, and
// still tested.
static std::vector<int> fermat_filter(const std::vector<int> &list, int base)
{
    std::vector<int> kept;
    for (int n : list) {
        if (n % base == 0)
            printf(" %d non premier  ", n);
        if (mod_pow(base, n - 1, n) == 1) {
            printf("  %d", n);
            kept.push_back(n);
        }
    }
    return kept;
}

void fermat_pseudoprimes_trace(int limit)
{
    std::vector<int> prime_table = sieve_primes(limit);

    // Base 2, on every odd n: an even n never passes, since 2^(n-1) mod n is
    // then even, so it is not put through the test (which halves the work of
    // a search up to 10^7). The table is read only for the numbers that pass.
    std::vector<int> fermat_list;
    for (int n = 3; n <= limit; n += 2)
        if (mod_pow(2, n - 1, n) == 1 && prime_table[n] == 0) {
            fermat_list.push_back(n);
            printf("  %d", n);
        }
    printf("\n nombre de faux premiers probables avec 2 = %d\n\n", static_cast<int>(fermat_list.size()));

    std::vector<int> base3_list = fermat_filter(fermat_list, 3);
    printf("\n\n nombre de faux premiers probables avec 2 et 3 = %d\n\n", static_cast<int>(base3_list.size()));
    for (int n : base3_list)
        printf(" %d ", n);

    // Base 5 on the survivors of bases 2 and 3, on the same line; those left
    // pass to all three bases.
    std::vector<int> base5_list = fermat_filter(base3_list, 5);
    printf("\n\n nombre de faux premiers probables avec 2, 3 et 5 = %d\n\n", static_cast<int>(base5_list.size()));
    for (int n : base5_list)
        printf(" %d ", n);
}
