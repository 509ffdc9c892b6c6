// The period and the entry index of u -> u*u + 1 (mod m), built in from
// u(1) = 11 modulo 41, found three ways. First by power-of-two windows: the
// term at the end of each window is kept and compared with every term of
// the next, twice as long, window. Then by Floyd's tortoise and hare, which
// compares u(k) with u(2k). Last by Brent's variant of the windows, which
// compares only the second half of each window. Terms are numbered
// from 1; a pause follows each of the first two sections.
#include "console/parameters.hpp"
#include "cycles.hpp"
#include "views/view.hpp"

const int first_term = 11; // u(1), reduced modulo m

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    CycleStart start = read_cycle_start(p, "u1", first_term);
    p.add_usage(view_usage(cycle_three_methods_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&cycles_classic}, {&cycles_explain});
    cycle_three_methods(start.m, start.first, view.steps());
    view.finish();
    return 0;
}
