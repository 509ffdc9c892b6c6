// Fermat's method on the odd number N = 4842037507: the walk starts at
// x = ceil(sqrt N) = 69585, y = 0 and ends at x = 69586, y = 417, where
// x*x - y*y = N = 70003 * 69169. Each position (x, y) is printed.
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>

const long max_steps = 1000000; // a prime N would walk about N steps

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int64_t N = p.integer({.name = "N",
                           .meaning = "the odd number to factor",
                           .builtin = 4842037507,
                           .low = 3,
                           .high = (int64_t{1} << 62) - 1,
                           .range = "3 <= N < 2^62, odd",
                           .odd = true});
    p.add_usage(view_usage(difference_of_squares_walk_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&factoring_classic}, {&factoring_explain});
    difference_of_squares_walk(N, max_steps, view.steps());
    view.finish();
    return 0;
}
