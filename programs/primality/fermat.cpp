// Fermat pseudoprimes: composites n with a^(n-1) = 1 (mod n), to base 2 and
// then also to bases 3 and 5. Compositeness is read from the sieve, never
// from the test.
#include "arith/arith.hpp"
#include "primality.hpp"

static long long length(const std::vector<long long> &list)
{
    return static_cast<long long>(list.size());
}

// The numbers of `list` that pass the Fermat test to `base`, in order, each
// test reported with its power base^(n-1) mod n. A multiple of the base can
// never pass, since that power is then a multiple of gcd(base, n) > 1; such
// numbers are marked as they go by, and still tested.
static std::vector<long long> fermat_filter(const std::vector<long long> &list, int base, Steps &out)
{
    std::vector<long long> kept;
    for (long long n : list) {
        int power = mod_pow(base, static_cast<int>(n - 1), static_cast<int>(n));
        bool multiple = n % base == 0;
        if (multiple)
            out.step("multiple", "base", base, "n", n, "power", power);
        if (power == 1) {
            out.step("passes", "base", base, "n", n, "power", power);
            kept.push_back(n);
        } else if (!multiple) {
            out.step("fails", "base", base, "n", n, "power", power);
        }
    }
    return kept;
}

FermatPseudoprimes fermat_pseudoprimes(int limit, Steps &out)
{
    out.run("fermat_pseudoprimes", "limit", limit);
    std::vector<int> prime_table = sieve_primes(limit);
    FermatPseudoprimes found;

    // Base 2, on every odd n: an even n never passes, since 2^(n-1) mod n is
    // then even, so it is not put through the test (which halves the work of
    // a search up to 10^7). The table is read only for the numbers that pass.
    for (int n = 3; n <= limit; n += 2)
        if (mod_pow(2, n - 1, n) == 1 && prime_table[n] == 0) {
            found.base_2.push_back(n);
            out.item("base_2", n);
        }
    out.step("base_2_count", "count", length(found.base_2));

    // Base 3 on those, then base 5 on the survivors; each list of survivors
    // is listed again after its count.
    found.bases_2_3 = fermat_filter(found.base_2, 3, out);
    out.step("bases_2_3_count", "count", length(found.bases_2_3));
    for (long long n : found.bases_2_3)
        out.item("bases_2_3", n);
    found.bases_2_3_5 = fermat_filter(found.bases_2_3, 5, out);
    out.step("bases_2_3_5_count", "count", length(found.bases_2_3_5));
    for (long long n : found.bases_2_3_5)
        out.item("bases_2_3_5", n);

    out.result("fermat_pseudoprimes", "base_2", found.base_2, "base_2_count", length(found.base_2), "bases_2_3",
               found.bases_2_3, "bases_2_3_count", length(found.bases_2_3), "bases_2_3_5", found.bases_2_3_5,
               "bases_2_3_5_count", length(found.bases_2_3_5));
    out.pause();
    return found;
}
