// Prime tables: the sieve of Eratosthenes and its prime-power variant.
#include "arith/arith.hpp"
#include <cstddef>

std::vector<int> sieve_primes(int bound)
{
    std::vector<int> table(bound >= 0 ? bound + 1 : 0, 0);
    for (int i = 2; i <= bound; i++)
        table[i] = i;
    if (bound <= 3)
        return table;
    // Cross out from 2p for every prime p with p*p <= bound; the next prime is
    // the next entry still standing, which always lies below the bound.
    int p = 2;
    do {
        for (int a = 2 * p; a <= bound; a += p)
            table[a] = 0;
        p++;
        while (table[p] == 0)
            p++;
    } while (p * p <= bound);
    return table;
}

bool is_power_of(int n, int p)
{
    while (n % p == 0) {
        n /= p;
        if (n == 1)
            return true;
    }
    return false;
}

std::vector<int> prime_power_table(int bound)
{
    std::vector<int> table(bound >= 0 ? bound + 1 : 0, 0);
    for (int i = 2; i <= bound; i++)
        table[i] = i;
    if (bound <= 3)
        return table;
    // In the pass for p a multiple of p keeps p if it is a power of p and is
    // set to 0 otherwise. A later prime's entry still holds itself, while a
    // composite holds 0 and a prime power a smaller prime: entry < index.
    int p = 2;
    do {
        for (int a = 2 * p; a <= bound; a += p)
            table[a] = is_power_of(a, p) ? p : 0;
        p++;
        while (table[p] < p)
            p++;
    } while (p * p <= bound);
    return table;
}

int compact_table(std::vector<int> &table, int first)
{
    // c never overtakes j, since at least `first` zeros come before the first
    // non-zero entry: clearing entry j never erases an entry already moved.
    int c = first;
    for (size_t j = 0; j < table.size(); j++)
        if (table[j] != 0) {
            int value = table[j];
            table[j] = 0;
            table[c] = value;
            c++;
        }
    return c - first;
}
