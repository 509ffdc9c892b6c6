// The primes up to a limit by the sieve of Eratosthenes, listed and counted,
// then their proportion among the numbers up to the limit beside the
// proportion 1/ln(limit) that the prime number theorem predicts. Built in,
// the limit is 2^17 (12251 / 2^17 = 0.093) and the second proportion a fixed
// value. The limit itself is scanned: 2^17 - 1 = 131071 is a Mersenne prime,
// the last listed.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"
#include <cmath>

const int bound = 131072; // 2^17: the primes listed are those up to bound, inclusive

// The built-in run's theoretical proportion: a fixed value, not derived from
// the count or the bound. It is the float nearest 1/12.512, widened to double
// (bit pattern 0x3FB475DA00000000), and prints as 0.080.
const double theoretical_proportion = 0x1.475dap-4;

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the primes counted are those up to limit",
                           .builtin = bound,
                           .low = 2,
                           .high = 10000000});
    double theoretical = p.given() ? 1 / std::log(static_cast<double>(limit)) : theoretical_proportion;
    p.add_usage(view_usage(prime_proportion_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    prime_proportion(limit, theoretical, view.steps());
    view.finish();
    return 0;
}
