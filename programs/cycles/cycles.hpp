// cycles.hpp: the period and the entry index of u -> u*u + 1 (mod m), found
// by comparing terms. Each search reports its comparisons as events and
// returns what it found; the views print them.
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

// A cycle found: its least period and the index of its first term (the
// entry index), in the program's own numbering, and the term the search
// found twice. Floyd's searches add the step k where the tortoise and the
// hare met; the window searches the index of the saved term and of the
// later term found equal to it.
struct Cycle {
    int period = 0, entry = 0, value = 0;
    int meeting = 0;
    int saved = 0, matched = 0;
};

// From u(0) = u0: the least period, by one more lap from the value where
// two walkers met, and the entry index, by two walkers a period apart.
Cycle lap_and_entry(int m, int u0, int meeting_value);

// Floyd's tortoise u(k) and hare u(2k) from k = 1 until they meet, one step
// event each; then the least period and the entry index; then a pause.
Cycle cycle_floyd(int m, int u0, Steps &out);

// From u(0) = u0: the windows u(b) .. u(2b - 1), b = 1, 2, 4, ..., each term
// compared with u(b - 1); the first match is one period on.
Cycle cycle_doubling(int m, int u0, Steps &out);

// From u(1) = u1 (terms numbered from 1), three searches with a pause after
// each of the first two: power-of-two windows, u(e/2) against each term of
// e/2 + 1 .. e; Floyd, u(k) against u(2k); Brent, the windows again compared
// only above 3e/4. Each reports the least period and the entry index.
struct ThreeCycles {
    Cycle windows, floyd, brent;
};
ThreeCycles cycle_three_methods(int m, int u1, Steps &out);

// The views of the cycle searches, and what each program's trace shows.
extern const ClassicTable cycles_classic;
extern const ExplainTable cycles_explain;
extern const Legend cycle_floyd_legend;
extern const Legend cycle_three_methods_legend;
extern const Legend cycle_doubling_search_legend;
