// The primes up to a limit (built in: 100000, with 9592 primes) by the sieve
// of Eratosthenes, listed and counted, then moved to the front of the table
// and listed a second time from there. After the move the first entries hold
// the primes in ascending order and every other entry is 0, so the second
// listing simply runs until the first zero.
#include "console/parameters.hpp"
#include "primality.hpp"
#include "views/view.hpp"

const int bound = 100000; // the primes listed are those up to bound, inclusive

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the primes listed are those up to limit",
                           .builtin = bound,
                           .low = 2,
                           .high = 10000000});
    p.add_usage(view_usage(prime_listing_compacted_legend));
    if (!p.ready())
        return p.report();

    View view(options, {&primality_classic}, {&primality_explain});
    prime_listing_compacted(limit, view.steps());
    view.finish();
    return 0;
}
