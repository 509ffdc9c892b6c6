// The strong test on one odd number, step by step; built in, to base 2 on
// the Carmichael number 1729 = 7 * 13 * 19. 1728 = 2^6 * 27; the trace shows
// 2^27 = 645 (mod 1729), then the squarings 645^2 = 1065 and 1065^2 = 1. So
// 1065 is a square root of 1 other than 1 and -1, which no prime modulus
// has: 1729 is composite, though it passes the Fermat test to every base
// prime to it.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"
#include <cstdint>

const int builtin_n = 1729; // the number under test
const int base = 2;      // the base of the test

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int n = p.integer({.name = "n",
                       .meaning = "the odd number under test",
                       .builtin = builtin_n,
                       .low = 5,
                       .high = INT32_MAX,
                       .range = "n odd, 5 <= n <= 2147483647",
                       .odd = true});
    int a = p.integer({.name = "a",
                       .meaning = "the base of the test",
                       .builtin = base,
                       .low = 2,
                       .high = n - 2,
                       .range = "2 <= a <= n - 2"});
    p.add_usage(view_usage(strong_test_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    strong_test(n, a, view.steps());
    view.finish();
    return 0;
}
