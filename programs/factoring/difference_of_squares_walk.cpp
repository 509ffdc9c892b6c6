// Fermat's method on the odd number N = 4842037507: the walk starts at
// x = ceil(sqrt N) = 69585, y = 0 and ends at x = 69586, y = 417, where
// x*x - y*y = N = 70003 * 69169. Each position (x, y) is printed.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>

const long max_steps = 1000000; // a prime N would walk about N steps

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int64_t N = p.integer({.name = "N",
                           .meaning = "the odd number to factor",
                           .builtin = 4842037507,
                           .low = 3,
                           .high = (int64_t{1} << 62) - 1,
                           .range = "3 <= N < 2^62, odd",
                           .odd = true});
    if (!p.ready())
        return p.report();

    difference_of_squares_trace(N, max_steps);
    read_key();
    return 0;
}
