// Pollard's p-1 method on m = 10403 = 101 * 103. The exponent grows by one
// prime-power base at a time (2 3 2 5 7 2 3 ...), so after the base q it is
// lcm(1, ..., q). Once it is a multiple of p - 1 for a prime p dividing m,
// Fermat gives 2^exponent = 1 (mod p), and gcd(2^exponent - 1, m) shows p:
// here 103, with 102 = 2 * 3 * 17, at the base 17.
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int m = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 10403, .low = 4, .high = INT32_MAX});
    int bound = p.integer({.name = "bound",
                           .meaning = "the bound of the prime powers",
                           .builtin = 100,
                           .low = 2,
                           .high = 1000000});
    p.add_usage(view_usage(pminus1_prime_powers_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&factoring_classic}, {&factoring_explain});
    pminus1_prime_powers(m, bound, view.steps());
    view.finish();
    return 0;
}
