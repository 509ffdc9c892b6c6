// Fermat pseudoprimes: composite n with a^(n-1) = 1 (mod n). Every composite
// n up to a limit (built in: 10000) that passes to base 2 is listed, then
// those that also pass to base 3 and to base 5; up to 10000 there are 22,
// 7 and 4 of them. Compositeness is read from the sieve, never from the
// test.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int bound = 10000; // the candidates are 3 ... bound

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the numbers tested are 3 .. limit",
                           .builtin = bound,
                           .low = 3,
                           .high = 10000000});
    p.add_usage(view_usage(fermat_pseudoprimes_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    fermat_pseudoprimes(limit, view.steps());
    view.finish();
    return 0;
}
