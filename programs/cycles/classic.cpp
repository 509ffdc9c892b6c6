// The classic trace of the cycle searches: each event's French line.
#include "cycles.hpp"

const ClassicTable cycles_classic = {
    // cycle_floyd: "k    tortoise  hare", then the period.
    {EventKind::step, "floyd", "\n %d    %d  %d", {"k", "tortoise", "hare"}},
    {EventKind::result, "floyd", " \n\nperiode = %d", {"period"}},
    // cycle_three_methods: the saved term and the term compared with it,
    // then the period and the entry index, for the windows and for BRENT;
    // "k 2k    tortoise  hare" and the period for FLOYD.
    {EventKind::step, "window", "\n (u(%d)= %d   u(%d)= %d)", {"saved_index", "saved", "index", "term"}},
    {EventKind::step, "window_match", "\n\n Periode = %d  Indice d'entree = %d\n\n", {"period", "entry"}},
    {EventKind::phase, "floyd", " \n\n  FLOYD\n", {}},
    {EventKind::step, "tortoise_hare", "\n %d %d    %d  %d", {"k", "hare_index", "tortoise", "hare"}},
    {EventKind::step, "meeting", " \n\nperiode = %d", {"period"}},
    {EventKind::phase, "brent", "\n\n  BRENT\n", {}},
    {EventKind::step, "brent", "\n (u(%d)= %d   u(%d)= %d)", {"saved_index", "saved", "index", "term"}},
    {EventKind::step, "brent_match", "\n\n Periode = %d  Indice d'entree = %d\n\n", {"period", "entry"}},
    // cycle_doubling_search: the same comparisons, then one result line.
    {EventKind::step, "doubling", "\n (u(%d)= %d   u(%d)= %d)", {"saved_index", "saved", "index", "term"}},
    {EventKind::result, "doubling", "\n\n Periode = %d   Indice d'entree = %d\n", {"period", "entry"}},
};
