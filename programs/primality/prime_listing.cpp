// The primes up to a limit (built in: 500000) by the sieve of Eratosthenes.
// The table is read in index order: a prime's entry holds the prime, every
// other entry 0, so the non-zero entries are the primes in ascending order.
// They are printed on one long line and counted; up to 500000 there are
// 41538 of them.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "primality.hpp"

const int bound = 500000; // the primes listed are those up to bound, inclusive

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the primes listed are those up to limit",
                           .builtin = bound,
                           .low = 2,
                           .high = 10000000});
    if (!p.ready())
        return p.report();

    prime_listing_trace(limit);
    wait_enter();
    return 0;
}
