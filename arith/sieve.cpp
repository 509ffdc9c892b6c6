// Prime tables: the sieve of Eratosthenes and its prime-power variant.
#include "arith/arith.hpp"

void sieve_primes(int bound)
{
    for (int i = 2; i <= bound; i++)
        prime_table[i] = i;
    if (bound <= 3)
        return;
    // Cross out from 2p for every prime p with p*p <= bound; the next prime is
    // the next entry still standing, which always lies below the bound.
    int p = 2;
    do {
        for (int a = 2 * p; a <= bound; a += p)
            prime_table[a] = 0;
        p++;
        while (prime_table[p] == 0)
            p++;
    } while (p * p <= bound);
}

int is_power_of(int n, int p)
{
    while (n % p == 0) {
        n /= p;
        if (n == 1)
            return 1;
    }
    return 0;
}

void prime_power_table(int bound)
{
    for (int i = 2; i <= bound; i++)
        prime_table[i] = i;
    if (bound <= 3)
        return;
    // In the pass for p a multiple of p keeps p if it is a power of p and is
    // set to 0 otherwise. A later prime's entry still holds itself, while a
    // composite holds 0 and a prime power a smaller prime: entry < index.
    int p = 2;
    do {
        for (int a = 2 * p; a <= bound; a += p)
            prime_table[a] = is_power_of(a, p) ? p : 0;
        p++;
        while (prime_table[p] < p)
            p++;
    } while (p * p <= bound);
}
