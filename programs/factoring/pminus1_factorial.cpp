// Pollard's p-1 method on m = 10403 = 101 * 103 with the exponents 1!, 2!,
// 3!, ...: i! is a multiple of p - 1 as soon as i reaches the largest prime
// power dividing p - 1, and then gcd(2^i! - 1, m) shows the prime p. Here
// p = 101 with p - 1 = 2^2 * 5^2, which 10! contains first.
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include "views/view.hpp"
#include <cstdint>

const int last_step = 13; // 13! is the last exponent tried

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int m = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 10403, .low = 4, .high = INT32_MAX});
    p.add_usage(view_usage(pminus1_factorial_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&factoring_classic}, {&factoring_explain});
    pminus1_factorial(m, last_step, view.steps());
    view.finish();
    return 0;
}
