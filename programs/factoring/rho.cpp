// Pollard's rho method. The walk x -> x*x + 1 (mod n) is, modulo a hidden
// prime factor p, a walk on only p values, so it soon runs into a cycle
// there. Two values of the walk that agree modulo p while differing modulo n
// then reveal p through the gcd of their difference with n.
#include "arith/arith.hpp"
#include "console/console.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int square_plus_one(int x, int m)
{
    int y = static_cast<int>(static_cast<int64_t>(x) * x % m);
    return y + 1 <= m - 1 ? y + 1 : y - (m - 1);
}

int rho_floyd_trace(int n, int x0, int max_steps)
{
    // After i steps the tortoise holds x(i), the hare x(2i): they agree
    // modulo p once i is a multiple of the period modulo p past its entry.
    int t = x0, h = x0;
    for (int i = 1;; i++) {
        t = square_plus_one(t, n);
        h = square_plus_one(square_plus_one(h, n), n);
        printf("\n %d    %d  %d", i, t, h);
        int d = gcd_abs(h - t, n);
        if (d >= 2 && d <= n - 1) {
            printf("\n\n %d", d);
            return d;
        }
        // A gcd of n itself: they met modulo n too, and the start has failed.
        if (d == n) {
            printf("Rate");
            return n;
        }
        if (i >= max_steps)
            return 0;
    }
}

int rho_saved_powers_trace(int n, int max_index)
{
    // x(i) against saved = x(2^k), the last power-of-two index before i.
    // When the walk modulo p cycles with period T, x(i) = x(2^k) (mod p) as
    // soon as 2^k is in the cycle and i - 2^k = T.
    int x = 1, saved = 1, i = 1, limit = 2;
    for (;;) {
        i = i + 1;
        x = square_plus_one(x, n);
        printf("%2.d : %d\n ", i, x);
        // When x equals saved the gcd is n itself, which tells nothing.
        int g = gcd(abs(x - saved), n);
        if (g >= 2 && g <= n - 1) {
            printf("\n **** %d ****\n", g);
            return g;
        }
        if (i == limit) {
            saved = x;
            limit = 2 * i;
        }
        if (i > max_index)
            return 0;
    }
}

RhoPeriod rho_period_trace(int p)
{
    // The orbit modulo p itself, recorded from entry 1 = 1, with the same
    // power-of-two comparisons. Values before the cycle never come back, so
    // the first match is with a kept value inside the cycle, exactly T
    // places back; it comes once the kept index has passed both the entry
    // and T, within about 4p values.
    printf("\n**********************************************************");
    std::vector<int> orbit_table = {0, 1};
    long i = 1, b = 1, limit = 2, T;
    int v = 1;
    for (;;) {
        v = square_plus_one(v, p);
        i = i + 1;
        orbit_table.push_back(v);
        printf("(%2.ld : %ld) ", i, static_cast<long>(v));
        if (orbit_table[i] == orbit_table[b]) {
            T = i - b;
            printf("\n\n**** T=%ld ****\n", T);
            break;
        }
        if (i == limit) {
            b = i;
            limit = 2 * i;
        }
    }

    // The cycle begins at the first value that comes back T places later.
    long e = 1;
    while (orbit_table[e + T] != orbit_table[e])
        e++;
    trace_printf("Indice d'entr\xe9"
                 "e= %ld",
                 e);
    return {T, e};
}
