// The classic trace of the cycle searches: each event's French line.
#include "cycles.hpp"

const ClassicTable cycles_classic = {
    // cycle_floyd: "k    tortoise  hare", then the period.
    {EventKind::step, "floyd", "\n %d    %d  %d", {"k", "tortoise", "hare"}},
    {EventKind::result, "floyd", " \n\nperiode = %d", {"period"}},
};
