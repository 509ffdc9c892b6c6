// The classic trace of the factoring methods: each event's French line. An
// integer printed with a precision of 0 ("%5.d") shows 0 as blanks.
#include "programs/factoring/factoring.hpp"

const ClassicTable factoring_classic = {
    // pminus1_prime_powers: the primes of the prime powers up to the bound,
    // then the same primes compacted, then "k  a  pgcd(a-1 n) = gcd".
    {EventKind::item, "prime_power", "%d ", {"prime"}},
    {EventKind::phase, "bases", "\n", {}},
    {EventKind::item, "base", "%d ", {"prime"}},
    {EventKind::phase, "powers", "  \n *** m=%d ***\n", {"n"}},
    {EventKind::step, "first_power", "\n%2.d  %5.d ", {"k", "power"}},
    {EventKind::step, "prime_power_step", "\n%2.d  %5.d    pgcd(%5.d %5.d)  =%7.d",
     {"k", "power", "power_minus_one", "n", "gcd"}},

    // pminus1_factorial: "2 puissance i! = a", then the gcd.
    {EventKind::run, "pminus1_factorial", "m=%d\n***********\n", {"n"}},
    {EventKind::step, "factorial_step", "\n%d puissance  %9.lld  =  %6.lld         pgcd(%6.lld %6.d)  =%8.d",
     {"base", "exponent", "power", "power_minus_one", "n", "gcd"}},

    // pminus1_random_base: the exponent P, then a gcd per base drawn.
    {EventKind::run, "pminus1_random_base", "\n    ppmc P = %d", {"exponent"}},
    {EventKind::step, "draw", "\n   pgcd(%5.d %5.d)  =%7.d", {"power_minus_one", "n", "gcd"}},
    {EventKind::step, "draws_exhausted", "\n   aucun facteur en %d tirages", {"draws"}},

    // rho_floyd: "i    tortoise  hare", then the factor or "Rate".
    {EventKind::step, "floyd", "\n %d    %d  %d", {"i", "tortoise", "hare"}},
    {EventKind::step, "floyd_factor", "\n\n %d", {"factor"}},
    {EventKind::step, "walks_met", "Rate", {}},

    // rho_factor_16019: "i : x(i)" and the divisor; then "(i : x(i) mod p)",
    // the period T and the entry index.
    {EventKind::step, "saved_power", "%2.d : %d\n ", {"i", "value"}},
    {EventKind::step, "saved_power_factor", "\n **** %d ****\n", {"factor"}},
    {EventKind::phase, "orbit_mod_p", "\n**********************************************************", {}},
    {EventKind::step, "orbit", "(%2.ld : %ld) ", {"i", "value"}},
    {EventKind::step, "orbit_period", "\n\n**** T=%ld ****\n", {"period"}},
    {EventKind::step, "orbit_entry",
     "Indice d'entr\xe9"
     "e= %ld",
     {"entry"}},

    // difference_of_squares_walk: "(x y)" at each position, then the split.
    {EventKind::step, "position", "(%lld %lld)", {"x", "y"}},
    {EventKind::step, "squares_found", "\n***(%lld %lld)", {"x_plus_y", "x_minus_y"}},
    {EventKind::step, "walk_exhausted", "\n*** aucun facteur en %ld pas", {"steps"}},
};
