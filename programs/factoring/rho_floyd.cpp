// Pollard's rho method on n = 127199 = 311 * 409 from a random start. The
// walk x -> x*x + 1 (mod n) is, modulo the hidden factor 311, a walk on only
// 311 values, so it soon runs into a cycle there. Floyd's tortoise (one
// step) and hare (two steps) then agree modulo 311 while still differing
// modulo n, and gcd(hare - tortoise, n) reveals the factor.
#include "arith/arith.hpp"
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>
#include <ctime>

const int max_steps = 10000;

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int n = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 127199, .low = 4, .high = INT32_MAX});
    // The start left out is drawn from the clock's seed.
    seed_random(static_cast<uint32_t>(time(nullptr)));
    int x0 = p.integer({.name = "start",
                        .meaning = "the first term of the walk",
                        .builtin = next_random() % n,
                        .low = 0,
                        .high = n - 1,
                        .range = "0 <= start < n",
                        .builtin_text = "random"});
    p.add_usage(view_usage(rho_floyd_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&factoring_classic}, {&factoring_explain});
    rho_floyd(n, x0, max_steps, view.steps());
    view.finish();
    return 0;
}
