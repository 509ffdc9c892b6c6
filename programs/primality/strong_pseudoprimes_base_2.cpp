// Strong pseudoprimes to base 2: the odd composites n below a limit (built
// in: 100000) that pass the Miller-Rabin test to base 2. Compositeness is
// read from the sieve. Below 100000 there are sixteen, the first being
// 2047 = 23 * 89.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int bound = 100000; // the candidates are the odd n from 3 to bound - 1

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the odd numbers tested are those from 3 to limit - 1",
                           .builtin = bound,
                           .low = 4,
                           .high = 10000000});
    p.add_usage(view_usage(strong_pseudoprimes_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    strong_pseudoprimes(limit, view.steps());
    view.finish();
    return 0;
}
