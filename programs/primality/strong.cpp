// The strong (Miller-Rabin) test. With n - 1 = 2^s * d, d odd, n passes to
// base a when a^d = 1 or one of a^d, a^(2d), ..., a^(2^(s-1) d) is n - 1
// (mod n). A prime always passes, since modulo a prime the only square roots
// of 1 are 1 and -1; a square of 1 reached from another value proves n
// composite.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cstdint>
#include <cstdio>

// n - 1 = 2^s * d with d odd, s >= 1 (n odd, n >= 3): returns d, sets s.
static int odd_part(int n, int &s)
{
    int d = n - 1;
    s = 0;
    while (d % 2 == 0) {
        d /= 2;
        s++;
    }
    return d;
}

// x*x reduced modulo n; the square of a residue above 46340 needs 64 bits.
static int square_mod(int x, int n)
{
    int64_t square = static_cast<int64_t>(x) * x;
    return static_cast<int>(square >= n ? square % n : square);
}

// Whether odd n >= 3 passes the strong test to base 2. After each squaring
// 1 is checked before -1: a 1 that did not come from -1 ends the test.
static bool passes_strong_test_base_2(int n)
{
    int s;
    int d = odd_part(n, s);
    int x = mod_pow(2, d, n);
    if (x == 1 || x == n - 1)
        return true;
    for (int r = 1; r < s; r++) {
        x = square_mod(x, n);
        if (x == 1)
            return false;
        if (x == n - 1)
            return true;
    }
    return false;
}

void strong_pseudoprimes_trace(int limit)
{
    // Compositeness is read from the sieve; nothing is printed until the
    // search is over.
    std::vector<int> prime_table = sieve_primes(limit);
    std::vector<int> strong_list;
    for (int n = 3; n < limit; n += 2)
        if (passes_strong_test_base_2(n) && prime_table[n] == 0)
            strong_list.push_back(n);

    puts(" \n Nombres non premiers, parmi les fort probablement premiers \n");
    for (int n : strong_list)
        printf(" %d ", n);
}

void strong_test_odd_trace(int limit)
{
    // No sieve: the verdicts come from the test alone. Below 2047, the least
    // strong pseudoprime to base 2, they agree with primality.
    for (int n = 3; n < limit; n += 2)
        printf(passes_strong_test_base_2(n) ? " %d FPP " : " %d non premier ", n);
}

void strong_test_trace(int n, int a)
{
    int s;
    int d = odd_part(n, s);
    int aq = mod_pow(a, d, n);

    if (aq == 1 || aq == n - 1) {
        printf(" aq=%d  %d FPP ", aq, n);
        return;
    }
    printf(" aq =%d\n ", aq);
    // Square up to s - 1 times: reaching 1 first proves n composite,
    // reaching -1 lets it pass.
    int k;
    for (k = 1; k < s; k++) {
        aq = square_mod(aq, n);
        printf(" k=%d aexpo=%d  ", k, aq);
        if (aq == 1) {
            printf("   k = %d aexpo = 1 %d non premier ", k, n);
            break;
        }
        if (aq == n - 1) {
            printf(" %d  aexpo = -1 %d FPP ", k, n);
            break;
        }
    }
    // Neither 1 nor -1 after every squaring: a^(n-1) is not 1, so not even
    // the Fermat test holds.
    if (k == s)
        printf("    k=i  %d non premier ", n);
}
