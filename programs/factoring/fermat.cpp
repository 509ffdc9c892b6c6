// Fermat's method on an odd number N: find x and y with x*x - y*y = N, so
// that N = (x + y)(x - y). Every odd N has such a pair, at worst x + y = N
// and x - y = 1, reached after about N steps.
#include "arith/fermat_walk.hpp"
#include "programs/factoring/factoring.hpp"

int64_t difference_of_squares_walk(int64_t N, long max_steps, Steps &out)
{
    FermatWalk walk(N);
    out.run("difference_of_squares_walk", "n", N, "x0", walk.x, "max_steps", max_steps);
    // Each position with its remainder r = x*x - y*y - N: y grows while r > 0,
    // x while r < 0.
    out.step("position", "x", walk.x, "y", walk.y, "step", 0L, "remainder", walk.r);
    int64_t factor = 0;
    for (long step = 1; !walk.found(); step++) {
        if (step > max_steps) {
            out.step("walk_exhausted", "steps", max_steps);
            break;
        }
        walk.step();
        out.step("position", "x", walk.x, "y", walk.y, "step", step, "remainder", walk.r);
    }
    if (walk.found()) {
        // x*x - y*y = N: the split (x + y)(x - y), trivial when x - y = 1.
        out.step("squares_found", "x_plus_y", walk.x + walk.y, "x_minus_y", walk.x - walk.y, "x", walk.x, "y",
                 walk.y);
        factor = walk.x + walk.y;
    }
    report_split(out, "difference_of_squares_walk", N, factor, "steps exhausted");
    out.pause("key");
    return factor;
}
