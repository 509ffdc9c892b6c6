// Pollard's rho method. The walk x -> x*x + 1 (mod n) is, modulo a hidden
// prime factor p, a walk on only p values, so it soon runs into a cycle
// there. Two values of the walk that agree modulo p while differing modulo n
// then reveal p through the gcd of their difference with n.
#include "arith/arith.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdint>
#include <cstdlib>
#include <vector>

int square_plus_one(int x, int m)
{
    int y = static_cast<int>(static_cast<int64_t>(x) * x % m);
    return y + 1 <= m - 1 ? y + 1 : y - (m - 1);
}

int rho_floyd(int n, int x0, int max_steps, Steps &out)
{
    out.run("rho_floyd", "n", n, "x0", x0, "max_steps", max_steps);
    // After i steps the tortoise holds x(i), the hare x(2i): they agree
    // modulo p once i is a multiple of the period modulo p past its entry.
    int t = x0, h = x0, found = 0;
    for (int i = 1; i <= max_steps && found == 0; i++) {
        t = square_plus_one(t, n);
        h = square_plus_one(square_plus_one(h, n), n);
        int d = gcd_abs(h - t, n);
        out.step("floyd", "i", i, "tortoise", t, "hare", h, "difference", h - t, "gcd", d);
        if (d >= 2 && d <= n - 1) {
            out.step("floyd_factor", "factor", d);
            found = d;
        } else if (d == n) {
            // A gcd of n itself: they met modulo n too, and the start has failed.
            out.step("walks_met", "gcd", d);
            found = n;
        }
    }
    report_split(out, "rho_floyd", n, found, found == n ? "gcd is n" : "steps exhausted");
    out.pause();
    return found;
}

// Phase 1: x(i) against saved = x(2^k), the last power-of-two index before
// i. When the walk modulo p cycles with period T, x(i) = x(2^k) (mod p) as
// soon as 2^k is in the cycle and i - 2^k = T. Returns the divisor, or 0.
static int saved_powers(int n, int max_index, Steps &out)
{
    int x = 1, saved = 1, saved_index = 1, i = 1;
    for (;;) {
        i = i + 1;
        x = square_plus_one(x, n);
        // When x equals saved the gcd is n itself, which tells nothing.
        int difference = std::abs(x - saved);
        int g = gcd(difference, n);
        out.step("saved_power", "i", i, "value", x, "saved_index", saved_index, "saved", saved, "difference",
                 difference, "gcd", g);
        if (g >= 2 && g <= n - 1) {
            out.step("saved_power_factor", "factor", g);
            return g;
        }
        if (i == 2 * saved_index) {
            saved = x;
            saved_index = i;
        }
        if (i > max_index)
            return 0;
    }
}

// Phase 2: the orbit modulo p itself, recorded from entry 1 = 1, with the
// same power-of-two comparisons. Values before the cycle never come back,
// so the first match is with a kept value inside the cycle, exactly T
// places back; it comes once the kept index has passed both the entry and
// T, within about 4p values.
struct RhoPeriod {
    long period, entry;
};
static RhoPeriod orbit_period(int p, Steps &out)
{
    out.phase("orbit_mod_p", "p", p);
    std::vector<int> orbit_table = {0, 1};
    long i = 1, b = 1, T;
    int v = 1;
    for (;;) {
        v = square_plus_one(v, p);
        i = i + 1;
        orbit_table.push_back(v);
        out.step("orbit", "i", i, "value", v, "saved_index", b, "saved", orbit_table[b]);
        if (orbit_table[i] == orbit_table[b]) {
            T = i - b;
            out.step("orbit_period", "period", T, "i", i, "saved_index", b);
            break;
        }
        if (i == 2 * b)
            b = i;
    }

    // The cycle begins at the first value that comes back T places later.
    long e = 1;
    while (orbit_table[e + T] != orbit_table[e])
        e++;
    out.step("orbit_entry", "entry", e, "period", T);
    return {T, e};
}

int rho_factor_16019(int n, int modulus, int max_index, Steps &out)
{
    if (modulus != 0)
        out.run("rho_factor_16019", "n", n, "x1", 1, "max_index", max_index, "p", modulus);
    else
        out.run("rho_factor_16019", "n", n, "x1", 1, "max_index", max_index, "p", Missing{});
    int divisor = saved_powers(n, max_index, out);
    // Without a modulus of its own the walk is studied modulo the divisor
    // found; without either there is nothing to study.
    int p = modulus != 0 ? modulus : divisor;
    if (p != 0) {
        RhoPeriod c = orbit_period(p, out);
        report_split(out, "rho_factor_16019", n, divisor, "steps exhausted", "p", p, "period", c.period,
                     "entry", c.entry);
    } else {
        report_split(out, "rho_factor_16019", n, divisor, "steps exhausted", "p", Missing{}, "period",
                     Missing{}, "entry", Missing{});
    }
    out.pause();
    return divisor;
}
