// Strong pseudoprimes to base 2: the odd composites n below a limit (built
// in: 100000) that pass the Miller-Rabin test to base 2. Compositeness is
// read from the sieve. Below 100000 there are sixteen, the first being
// 2047 = 23 * 89.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "primality.hpp"

const int bound = 100000; // the candidates are the odd n from 3 to bound - 1

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the odd numbers tested are those from 3 to limit - 1",
                           .builtin = bound,
                           .low = 4,
                           .high = 10000000});
    if (!p.ready())
        return p.report();

    strong_pseudoprimes_trace(limit);
    wait_enter();
    return 0;
}
