// The square spiral of the Ulam picture, in text: its 20881 points from the
// origin outward, then the values n*n + b*n + c for n = 0 ... 40 looked up in
// the prime table of 0 ... 10000. Built in is Euler's polynomial
// n*n + n + 41, prime for n = 0 ... 39 (41, 43, 47, ..., 1601), which fails
// at n = 40 with 1681 = 41^2. The program ends without a pause.
#include "arith/polynomial.hpp"
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int builtin_b = 1, builtin_c = 41; // Euler's n*n + n + 41

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    // b and c keep every value of the polynomial inside the prime table.
    Parameters p(argc, argv);
    IntegerRange b_range = polynomial_b_range(polynomial_last, 0, spiral_sieve_bound);
    int b = p.integer({.name = "b",
                       .meaning = "the coefficient of n in n*n + b*n + c",
                       .builtin = builtin_b,
                       .low = b_range.low,
                       .high = b_range.high});
    IntegerRange c_range = polynomial_c_range(b, polynomial_last, 0, spiral_sieve_bound);
    int c = p.integer({.name = "c",
                       .meaning = "the constant term of n*n + b*n + c",
                       .builtin = builtin_c,
                       .low = c_range.low,
                       .high = c_range.high,
                       .range = "every value for n = 0 .. 40 within 0 .. 10000"});
    p.add_usage(view_usage(spiral_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    spiral_coordinates(b, c, view.steps());
    view.finish();
    return 0;
}
