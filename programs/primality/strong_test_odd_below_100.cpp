// The strong test to base 2 on every odd n from 3 below a limit (built in:
// 100), each with its verdict: "FPP" (strong probable prime) or "non
// premier" (shown composite). No sieve is used: the verdicts come from the
// test alone, and below 2047, the least strong pseudoprime to base 2, they
// agree with primality.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int bound = 100; // the candidates are the odd n from 3 to bound - 1

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the odd numbers tested are those from 3 to limit - 1",
                           .builtin = bound,
                           .low = 4,
                           .high = 1000000});
    p.add_usage(view_usage(strong_test_odd_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    strong_test_odd(limit, view.steps());
    view.finish();
    return 0;
}
