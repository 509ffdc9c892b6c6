// The period and the entry index of u -> u*u + 1 (mod m), built in from
// u(0) = 16 modulo 41. The windows b .. 2b - 1 (b = 1, 2, 4, 8, ...) double
// in length, and each of their terms is compared with u(b - 1), the term
// just before the window. The program ends without a pause.
#include "console/parameters.hpp"
#include "cycles.hpp"
#include "views/view.hpp"

const int first_term = 16; // u(0), reduced modulo m

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    CycleStart start = read_cycle_start(p, "u0", first_term);
    p.add_usage(view_usage(cycle_doubling_search_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&cycles_classic}, {&cycles_explain});
    cycle_doubling(start.m, start.first, view.steps());
    view.finish();
    return 0;
}
