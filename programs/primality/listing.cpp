// The prime listings: the sieve of Eratosthenes up to a limit, its table read
// in index order. A prime's entry holds the prime and every other entry 0,
// so the non-zero entries are the primes in ascending order.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cmath>

// Reports the non-zero entries in index order as "prime" items and returns
// how many there are; 0, 1 and the composites hold 0 and are skipped.
static int report_primes(const std::vector<int> &prime_table, Steps &out)
{
    int count = 0;
    for (int entry : prime_table)
        if (entry != 0) {
            out.item("prime", entry);
            count++;
        }
    return count;
}

int prime_listing(int limit, Steps &out)
{
    out.run("prime_listing", "limit", limit);
    int count = report_primes(sieve_primes(limit), out);
    out.result("prime_listing", "count", count);
    out.pause();
    return count;
}

int prime_listing_compacted(int limit, Steps &out)
{
    out.run("prime_listing_compacted", "limit", limit);
    std::vector<int> prime_table = sieve_primes(limit);
    out.step("prime_count", "count", report_primes(prime_table, out));
    out.pause();

    // Each prime moves down to the next free entry from 0. Entries 0 and 1
    // are not primes, so at least two zeros follow the moved primes, and the
    // second listing runs from the front up to the first of them.
    out.phase("compaction", "moved", compact_table(prime_table, 0));
    int k = 0;
    for (; k <= limit && prime_table[k] != 0; k++)
        out.item("compacted", prime_table[k]);
    out.result("prime_listing_compacted", "count", k);
    out.pause();
    return k;
}

PrimeProportion prime_proportion(int limit, double theoretical, Steps &out)
{
    out.run("prime_proportion", "limit", limit);
    int count = report_primes(sieve_primes(limit), out);
    // The prime number theorem: about one number in ln(limit) is prime near
    // the limit, so the proportion up to it is close to 1/ln(limit).
    double proportion = count / static_cast<double>(limit);
    out.result("prime_proportion", "count", count, "proportion", proportion, "theoretical", theoretical,
               "inverse_log", 1 / std::log(static_cast<double>(limit)));
    out.pause();
    return {count, proportion};
}
