// The strong test to base 2 on every odd n from 3 below a limit (built in:
// 100), each with its verdict: "FPP" (strong probable prime) or "non
// premier" (shown composite). No sieve is used: the verdicts come from the
// test alone, and below 2047, the least strong pseudoprime to base 2, they
// agree with primality.
#include "console/console.hpp"
#include "console/parameters.hpp"
#include "primality.hpp"

const int bound = 100; // the candidates are the odd n from 3 to bound - 1

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int limit = p.integer({.name = "limit",
                           .meaning = "the odd numbers tested are those from 3 to limit - 1",
                           .builtin = bound,
                           .low = 4,
                           .high = 1000000});
    if (!p.ready())
        return p.report();

    strong_test_odd_trace(limit);
    wait_enter();
    return 0;
}
