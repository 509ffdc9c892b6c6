// The cycle searches on u -> u*u + 1 (mod m). The term tables grow as the
// search goes: with m up to 46340 a window search can run to some 10^5
// terms before it matches.
#include "cycles.hpp"
#include <cstdio>
#include <string>
#include <vector>

CycleStart read_cycle_start(Parameters &p, const char *term, int first_term)
{
    const int modulus = 41;    // the sequence lives in 0 .. modulus - 1
    const int largest = 46340; // u*u + 1 stays below 2^31
    CycleStart s;
    s.m = static_cast<int>(p.integer({.name = "m",
                                      .meaning = "the modulus of u -> u*u + 1 (mod m)",
                                      .builtin = modulus,
                                      .low = 2,
                                      .high = largest}));
    std::string meaning = std::string("the first term u(") + term[1] + ")";
    std::string range = std::string("0 <= ") + term + " < m";
    std::string builtin = std::to_string(first_term) + " mod m";
    s.first = static_cast<int>(p.integer({.name = term,
                                          .meaning = meaning.c_str(),
                                          .builtin = first_term % s.m,
                                          .low = 0,
                                          .high = s.m - 1,
                                          .range = range.c_str(),
                                          .builtin_text = builtin.c_str()}));
    return s;
}

// The smallest j >= first with u(j) = u(j + period): where the cycle begins.
// The search that found the period has already computed every term needed.
static int entry_index(const std::vector<int> &u, int first, int period)
{
    int j = first;
    while (u[j] != u[j + period])
        j++;
    return j;
}

int cycle_windows_trace(int m, int u1)
{
    // s = u(e/2), the last term of the previous window, is compared with
    // each term of the window e/2 + 1 .. e. A match at term i means the
    // sequence repeats after i - e/2 terms; the first match comes once e/2
    // reaches the entry index and the window is as long as the period, so
    // i - e/2 is the period itself.
    std::vector<int> u{0, u1}; // u[0] is unused: terms are numbered from 1
    int s = u1, e = 2, i = 1, h;
    for (;;) {
        i = i + 1;
        h = e / 2;
        u.push_back(next_term(u[i - 1], m));
        printf("\n (u(%d)= %d   u(%d)= %d)", h, s, i, u[i]);
        if (u[i] == s)
            break;
        if (i == e) {
            s = u[i];
            e = 2 * e;
        }
    }
    int period = i - h;
    printf("\n\n Periode = %d ", period);
    printf(" Indice d'entree = %d\n\n", entry_index(u, 1, period));
    return period;
}

int cycle_floyd_pairs_trace(int m, int u1)
{
    // The tortoise t = u(k) takes one step, the hare two, so the hare holds
    // u(2k). They first meet at the smallest multiple of the period that is
    // at least the entry index, at most the entry index plus the period.
    printf(" \n\n  FLOYD\n");
    int t = u1, k = 1;
    int hare = next_term(u1, m);
    printf("\n 1 2    %d  %d", u1, hare);
    while (t != hare) {
        t = next_term(t, m);
        k = k + 1;
        hare = next_term_twice(hare, m);
        printf("\n %d %d    %d  %d", k, 2 * k, t, hare);
    }
    printf(" \n\nperiode = %d", k);
    return k;
}

int cycle_brent_trace(int m, int u1)
{
    // The windows of cycle_windows_trace again, but within the window
    // e/2 + 1 .. e only the terms above 3e/4 are compared with s = u(e/2).
    // The saving is in comparisons. A match at term i still means that the
    // period divides i - e/2, but that difference is never below e/4 + 1:
    // when the period is shorter, the search reports a multiple of it. It
    // always ends: once e/2 reaches the entry index and e/4 the period, the
    // last quarter of the window holds a term one multiple after u(e/2).
    printf("\n\n  BRENT\n");
    std::vector<int> u{0, u1};
    int s = u1, e = 2, i = 1, period = 0;
    for (;;) {
        i = i + 1;
        u.push_back(next_term(u[i - 1], m));
        if (i > 3 * e / 4) {
            printf("\n (u(%d)= %d   u(%d)= %d)", e / 2, s, i, u[i]);
            if (u[i] == s) {
                period = i - e / 2;
                break;
            }
        }
        if (i == e) {
            s = u[i];
            e = 2 * e;
        }
    }
    printf("\n\n Periode = %d ", period);
    printf(" Indice d'entree = %d\n\n", entry_index(u, 1, period));
    return period;
}

int cycle_doubling_trace(int m, int u0)
{
    // The windows b .. 2b - 1 (b = 1, 2, 4, 8, ...) double in length; each
    // of their terms is compared with u(b - 1), the term just before the
    // window. Once the window is as long as the period and u(b - 1) lies in
    // the cycle, the term one period after u(b - 1) falls inside the window
    // and matches.
    std::vector<int> u{u0};
    int period = 0; // 0 until a match: a period is at least 1
    for (int b = 1; period == 0; b = 2 * b) {
        for (int i = b; i <= 2 * b - 1; i++) {
            u.push_back(next_term(u[i - 1], m));
            printf("\n (u(%d)= %d   u(%d)= %d)", b - 1, u[b - 1], i, u[i]);
            if (u[i] == u[b - 1]) {
                period = i - (b - 1);
                break;
            }
        }
    }
    printf("\n\n Periode = %d   Indice d'entree = %d\n", period, entry_index(u, 0, period));
    return period;
}

Cycle lap_and_entry(int m, int u0, int meeting_value)
{
    // One more lap from where they met gives the least period: the walk
    // comes back to the meeting value after exactly one period.
    Cycle c;
    c.period = 1;
    for (int v = next_term(meeting_value, m); v != meeting_value; v = next_term(v, m))
        c.period++;
    // Two walkers a period apart, from u(0) and u(period), first agree where
    // the cycle begins.
    int a = u0, b = u0;
    for (int j = 0; j < c.period; j++)
        b = next_term(b, m);
    c.entry = 0;
    while (a != b) {
        a = next_term(a, m);
        b = next_term(b, m);
        c.entry++;
    }
    return c;
}

Cycle cycle_floyd(int m, int u0, Steps &out)
{
    // After k steps the tortoise holds u(k) and the hare, going twice as
    // fast, u(2k). They meet at the first k with u(k) = u(2k): a multiple of
    // the period that is at least the entry index.
    out.run("floyd", "m", m, "u0", u0);
    int t = u0, h = u0, k = 0;
    do {
        k = k + 1;
        t = next_term(t, m);
        h = next_term_twice(h, m);
        out.step("floyd", "k", k, "tortoise", t, "hare", h);
    } while (t != h);
    Cycle c = lap_and_entry(m, u0, t);
    c.meeting = k;
    out.result("floyd", "period", c.period, "entry", c.entry, "meeting", k, "value", t);
    out.pause();
    return c;
}
