// The classic trace of the picture programs: one line for each stage shown,
// "stage k of N: caption", whichever stage it is.
#include "plots.hpp"

static ClassicLine stage_line(const char *what)
{
    return {EventKind::stage, what, "stage %d of %d: %s\n", {"stage", "count", "caption"}};
}

const ClassicTable plots_classic = {
    stage_line("path"),   stage_line("primes"), stage_line("values"), stage_line("steps"),
    stage_line("counts"), stage_line("walk"),   stage_line("graph"),
};
