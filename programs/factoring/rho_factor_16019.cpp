// Pollard's rho method on 16019 = 83 * 193, and why it works. The walk
// x -> x*x + 1 (mod 16019) starts at 1; the value at each power-of-two index
// is kept, and every later value is compared with it through a gcd with
// 16019. Then the same walk is run modulo 83 alone: it has only 83 possible
// values, so it falls into a cycle quickly, and the comparisons modulo 16019
// were really waiting for that cycle.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>

const int max_index = 400; // the first phase stops after index 401

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int n = p.integer(
        {.name = "n", .meaning = "the number to factor", .builtin = 16019, .low = 4, .high = INT32_MAX});
    bool n_given = p.given();
    int modulus = p.integer({.name = "p",
                             .meaning = "the modulus of the second phase",
                             .builtin = 83,
                             .low = 2,
                             .high = 1000000,
                             .builtin_text = "83, or the divisor found when n is given"});
    bool modulus_given = p.given();
    if (!p.ready())
        return p.report();

    int divisor = rho_saved_powers_trace(n, max_index);
    // A number of the student's own is studied modulo the divisor found,
    // unless a modulus is given; without either there is nothing to study.
    if (n_given && !modulus_given)
        modulus = divisor;
    if (modulus != 0)
        rho_period_trace(modulus);
    wait_enter();
    return 0;
}
