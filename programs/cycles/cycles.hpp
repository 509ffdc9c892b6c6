// cycles.hpp: the period and the entry index of u -> u*u + 1 (mod m), found
// by comparing terms; each search prints one line per comparison and
// returns the period it reports.
#pragma once
#include "console/parameters.hpp"
#include "sequence.hpp"
#include "views/classic.hpp"
#include "views/explain.hpp"

// The numbers of a run: the modulus m (41 built in) and the first term, named
// `term` ("u0" or "u1"); the built-in first term, reduced modulo m.
struct CycleStart {
    int m, first;
};
CycleStart read_cycle_start(Parameters &p, const char *term, int first_term);

// From u(1) = u1 (terms numbered from 1), the three sections of
// cycle_three_methods. Power-of-two windows: u(e/2) against each term of
// e/2 + 1 .. e; exact period, then the entry index.
int cycle_windows_trace(int m, int u1);
// "FLOYD": u(k) against u(2k) from k = 1; returns the first k where they
// meet, a multiple of the period at least the entry index.
int cycle_floyd_pairs_trace(int m, int u1);
// "BRENT": the windows again, comparing only above 3e/4; can return a
// multiple of the period. Then the entry index for it.
int cycle_brent_trace(int m, int u1);

// From u(0) = u0 (terms numbered from 0). Windows b .. 2b - 1 against
// u(b - 1), then the period and the entry index.
int cycle_doubling_trace(int m, int u0);
// A cycle found: its least period, the index of its first term, and the
// index where the method's two walkers met (0 when it has none).
struct Cycle {
    int period = 0, entry = 0, meeting = 0;
};

// From u(0) = u0: the least period, by one more lap from the value where
// two walkers met, and the entry index, by two walkers a period apart.
Cycle lap_and_entry(int m, int u0, int meeting_value);

// Floyd's tortoise u(k) and hare u(2k) from k = 1 until they meet, one step
// event each; then the least period and the entry index; then a pause.
Cycle cycle_floyd(int m, int u0, Steps &out);

// The views of the cycle searches.
extern const ClassicTable cycles_classic;
extern const ExplainTable cycles_explain;
extern const Legend cycle_floyd_legend;
