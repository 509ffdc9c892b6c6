// Pollard's rho method on 16019 = 83 * 193, and why it works. The walk
// x -> x*x + 1 (mod 16019) starts at 1; the value at each power-of-two index
// is kept, and every later value is compared with it through a gcd with
// 16019. Then the same walk is run modulo 83 alone: it has only 83 possible
// values, so it falls into a cycle quickly, and the comparisons modulo 16019
// were really waiting for that cycle.
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>

const int max_index = 400; // the first phase stops after index 401

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int n = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 16019, .low = 4, .high = INT32_MAX});
    bool n_given = p.given();
    int modulus = p.integer({.name = "p",
                             .meaning = "the modulus of the second phase",
                             .builtin = 83,
                             .low = 2,
                             .high = 1000000,
                             .builtin_text = "83, or the divisor found when n is given"});
    bool modulus_given = p.given();
    p.add_usage(view_usage(rho_factor_16019_legend));
    if (!p.ready())
        return p.report();

    // A number of the student's own is studied modulo the divisor found
    // (modulus 0), unless a modulus is given.
    View view(options, {&factoring_classic}, {&factoring_explain});
    rho_factor_16019(n, n_given && !modulus_given ? 0 : modulus, max_index, view.steps());
    view.finish();
    return 0;
}
