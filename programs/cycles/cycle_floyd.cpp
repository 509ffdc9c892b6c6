// Floyd's tortoise and hare on u -> u*u + 1 (mod m), built in from u(0) = 16
// modulo 41. After k steps the tortoise holds u(k) and the hare, going twice
// as fast, u(2k); the trace shows both at every step until they meet, at a
// multiple of the period that is at least the entry index. From 16 modulo 41
// it is the period itself, 7.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "cycles.hpp"
#include "views/view.hpp"

const int first_term = 16; // u(0), reduced modulo m

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    CycleStart start = read_cycle_start(p, "u0", first_term);
    p.add_usage(view_usage(cycle_floyd_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&cycles_classic}, {&cycles_explain});
    cycle_floyd(start.m, start.first, view.steps());
    view.finish();
    return 0;
}
