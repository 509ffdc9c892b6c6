// Fermat's method on the odd number N = 4842037507: the walk starts at
// x = ceil(sqrt N) = 69585, y = 0 and ends at x = 69586, y = 417, where
// x*x - y*y = N = 70003 * 69169. Each position (x, y) is printed.
#include "arith/arith.hpp"
#include "arith/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>
#include <string>

const long max_steps = 1000000; // a prime N would walk about N steps

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int64_t N = p.integer("N", "the odd number to factor", 4842037507, 3, (int64_t{1} << 62) - 1,
                          "3 <= N < 2^62, odd");
    p.require(N % 2 == 1, "N",
              "an odd integer from 3 to " + std::to_string(INT64_MAX >> 1) + ", not \"" + std::to_string(N) +
                  "\"");
    p.done();

    difference_of_squares_trace(N, max_steps);
    _getch();
    return 0;
}
