// The prime listings: the sieve of Eratosthenes up to a limit, its table read
// in index order. A prime's entry holds the prime and every other entry 0,
// so the non-zero entries are the primes in ascending order.
#include "arith/arith.hpp"
#include "console/console.hpp"
#include "primality.hpp"
#include <cstdio>

// Prints the non-zero entries in index order, each as "%d " on one long
// line, and returns how many there are; 0, 1 and the composites hold 0 and
// print nothing.
static int print_prime_listing(const std::vector<int> &prime_table)
{
    int count = 0;
    for (int entry : prime_table)
        if (entry != 0) {
            printf("%d ", entry);
            count++;
        }
    return count;
}

void prime_listing_trace(int limit)
{
    std::vector<int> prime_table = sieve_primes(limit);
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre = %d \n", count);
}

void prime_listing_compacted_trace(int limit)
{
    std::vector<int> prime_table = sieve_primes(limit);
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre =%d \n", count);
    wait_enter();

    // Each prime moves down to the next free entry from 0. Entries 0 and 1
    // are not primes, so at least two zeros follow the moved primes, and the
    // second listing runs from the front up to the first of them.
    compact_table(prime_table, 0);
    for (int k = 0; k <= limit && prime_table[k] != 0; k++)
        printf("%d ", prime_table[k]);
}

void prime_proportion_trace(int limit, double theoretical)
{
    std::vector<int> prime_table = sieve_primes(limit);
    int count = print_prime_listing(prime_table);
    printf("\n*** Nombre =%d \n", count);
    printf("\n Proportion de premiers = %3.3f", count / static_cast<double>(limit));
    printf("\n Proportion theorique de premiers = %3.3f", theoretical);
}
