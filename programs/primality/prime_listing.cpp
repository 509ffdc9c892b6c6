// The primes up to a limit (built in: 500000) by the sieve of Eratosthenes.
// The table is read in index order: a prime's entry holds the prime, every
// other entry 0, so the non-zero entries are the primes in ascending order.
// They are printed on one long line and counted; up to 500000 there are
// 41538 of them.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int bound = 500000; // the primes listed are those up to bound, inclusive

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the primes listed are those up to limit",
                           .builtin = bound,
                           .low = 2,
                           .high = 10000000});
    p.add_usage(view_usage(prime_listing_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    prime_listing(limit, view.steps());
    view.finish();
    return 0;
}
