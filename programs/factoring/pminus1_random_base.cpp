// Pollard's p-1 method on n = 32623 = 17 * 19 * 101 with one exponent and
// random bases. The exponent P is the product of the prime-power bases up to
// 40, a multiple of 16 = 17 - 1 and of 18 = 19 - 1 (not of 100 = 101 - 1).
// So b^P = 1 modulo 17 and modulo 19 for almost every base b, and
// gcd(b^P - 1, n) is usually 323 = 17 * 19. When it is 1 or n itself, the
// base told nothing and another one is drawn.
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>
#include <ctime>

const int limit = 40;          // the prime-power bases go up to this
const int max_draws = 1000000; // a prime n never gives a proper factor

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int n = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 32623, .low = 4, .high = INT32_MAX});
    long long seed = p.integer({.name = "seed",
                                .meaning = "the seed of the random generator",
                                .builtin = time(nullptr),
                                .low = 0,
                                .high = UINT32_MAX,
                                .builtin_text = "the clock"});
    p.add_usage(view_usage(pminus1_random_base_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&factoring_classic}, {&factoring_explain});
    pminus1_random_base(n, static_cast<uint32_t>(seed), limit, max_draws, view.steps());
    view.finish();
    return 0;
}
