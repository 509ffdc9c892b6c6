// The classic trace of the primality programs: each event's French line.
#include "primality.hpp"

const ClassicTable primality_classic = {
    // The listings: every prime as "%d ", then the count line (with a blank
    // after the "=" in prime_listing only); the compacted table likewise.
    {EventKind::item, "prime", "%d ", {"value"}},
    {EventKind::result, "prime_listing", "\n*** Nombre = %d \n", {"count"}},
    {EventKind::step, "prime_count", "\n*** Nombre =%d \n", {"count"}},
    {EventKind::item, "compacted", "%d ", {"value"}},
    {EventKind::result, "prime_proportion",
     "\n*** Nombre =%d \n\n Proportion de premiers = %3.3f\n Proportion theorique de premiers = %3.3f",
     {"count", "proportion", "theoretical"}},

    // pseudoprimes_bases_2_3_5: the base-2 pass, then each later pass with
    // its marks of the multiples of the base, each list after its count.
    {EventKind::item, "base_2", "  %d", {"value"}},
    {EventKind::step, "base_2_count", "\n nombre de faux premiers probables avec 2 = %d\n\n", {"count"}},
    {EventKind::step, "multiple", " %d non premier  ", {"n"}},
    {EventKind::step, "passes", "  %d", {"n"}},
    {EventKind::step, "bases_2_3_count", "\n\n nombre de faux premiers probables avec 2 et 3 = %d\n\n", {"count"}},
    {EventKind::item, "bases_2_3", " %d ", {"value"}},
    {EventKind::step, "bases_2_3_5_count", "\n\n nombre de faux premiers probables avec 2, 3 et 5 = %d\n\n",
     {"count"}},
    {EventKind::item, "bases_2_3_5", " %d ", {"value"}},

    // strong_pseudoprimes_base_2: a heading (written by puts, hence the
    // second newline), then the list.
    {EventKind::phase, "found", " \n Nombres non premiers, parmi les fort probablement premiers \n\n", {}},
    {EventKind::item, "strong_base_2", " %d ", {"value"}},

    // strong_test_trace_1729: a^q, the squarings, and how the test ended.
    {EventKind::step, "first_power_decides", " aq=%d  %d FPP ", {"power", "n"}},
    {EventKind::step, "first_power", " aq =%d\n ", {"power"}},
    {EventKind::step, "squaring", " k=%d aexpo=%d  ", {"k", "power"}},
    {EventKind::step, "one_reached", "   k = %d aexpo = 1 %d non premier ", {"k", "n"}},
    {EventKind::step, "minus_one_reached", " %d  aexpo = -1 %d FPP ", {"k", "n"}},
    {EventKind::step, "squarings_exhausted", "    k=i  %d non premier ", {"n"}},

    // strong_test_odd_below_100: one verdict per odd number.
    {EventKind::step, "probable_prime", " %d FPP ", {"n"}},
    {EventKind::step, "composite", " %d non premier ", {"n"}},

    // spiral_coordinates_console: the points, their count, then each value
    // with its index in the prime table when it is found there.
    {EventKind::item, "point", " (%d  %d) ", {"x", "y"}},
    {EventKind::step, "point_count", "\n *** nb de points = %d\n", {"count"}},
    {EventKind::item, "prime_value", " (%d %d)", {"value", "index"}},
    {EventKind::item, "non_prime_value", " (%d", {"value"}},
};
