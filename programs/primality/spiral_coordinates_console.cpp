// The square spiral of the Ulam picture, in text: its 20881 points from the
// origin outward, then the values n*n + b*n + c for n = 0 ... 40 looked up in
// the prime table of 0 ... 10000. Built in is Euler's polynomial
// n*n + n + 41, prime for n = 0 ... 39 (41, 43, 47, ..., 1601), which fails
// at n = 40 with 1681 = 41^2. The program ends without a pause.
#include "arith/parameters.hpp"
#include "primality.hpp"
#include <string>

const int builtin_b = 1, builtin_c = 41; // Euler's n*n + n + 41

int main(int argc, char **argv)
{
    int b_low, b_high, c_low, c_high;
    polynomial_b_range(b_low, b_high);
    Parameters p(argc, argv);
    int b = p.integer("b", "the coefficient of n in n*n + b*n + c", builtin_b, b_low, b_high);
    polynomial_c_range(b, c_low, c_high);
    int c = p.integer("c", "the constant term of n*n + b*n + c", builtin_c, c_low, c_high,
                      "every value for n = 0 .. 40 within 0 .. 10000");
    // With b alone, the built-in c must suit it too.
    if (!p.given() && (c < c_low || c > c_high))
        p.require(false, "c", "given when b is " + std::to_string(b) + ": an integer from " + std::to_string(c_low) +
                                  " to " + std::to_string(c_high) + " (41 takes some value outside 0 .. 10000)");
    p.done();

    spiral_coordinates_trace(b, c);
    return 0;
}
