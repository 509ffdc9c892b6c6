// The cycle searches on u -> u*u + 1 (mod m). A search keeps only the terms
// it compares; the period and the entry index are then found by walking the
// sequence again.
#include "cycles.hpp"

// One lap from a value on the cycle: the steps back to it are the least
// period.
static int lap(int m, int value)
{
    int period = 1;
    for (int v = next_term(value, m); v != value; v = next_term(v, m))
        period++;
    return period;
}

// The smallest j >= 0 with u(j) = u(j + distance), for a distance that is a
// multiple of the period: two walkers that far apart, from u(0) and
// u(distance), first agree where the cycle begins.
static int entry_index(int m, int u0, int distance)
{
    int a = u0, b = u0;
    for (int j = 0; j < distance; j++)
        b = next_term(b, m);
    int entry = 0;
    while (a != b) {
        a = next_term(a, m);
        b = next_term(b, m);
        entry++;
    }
    return entry;
}

Cycle lap_and_entry(int m, int u0, int meeting_value)
{
    Cycle c;
    c.value = meeting_value;
    c.period = lap(m, meeting_value);
    c.entry = entry_index(m, u0, c.period);
    return c;
}

// The windows of doubling length, from the term numbered `first` (0 or 1):
// with b = 1, 2, 4, ..., the saved term u(first + b - 1) is compared with
// the b terms after it, one step event `name` each. A term equal to the
// saved one lies a multiple of the period after it, and the saved term is
// on the cycle. Once it is, and the window is as long as the period, the
// term one period on falls in the window: the first match is the period.
// Brent's variant compares only the second half of each window; the
// distance found is then more than the b/2 terms skipped, and may be a
// multiple of the period, so the period is found by one more lap from the
// saved term.
static Cycle window_search(int m, int start, int first, bool brent, const char *name, Steps &out)
{
    int saved = start, u = start;
    for (int b = 1;; b = 2 * b) {
        int saved_index = first + b - 1, skipped = brent ? b / 2 : 0;
        for (int i = saved_index + 1; i <= saved_index + b; i++) {
            u = next_term(u, m);
            if (i - saved_index <= skipped)
                continue;
            if (brent)
                out.step(name, "saved_index", saved_index, "saved", saved, "index", i, "term", u,
                         "window_end", saved_index + b, "skipped", skipped);
            else
                out.step(name, "saved_index", saved_index, "saved", saved, "index", i, "term", u,
                         "window_end", saved_index + b);
            if (u == saved) {
                Cycle c;
                c.saved = saved_index;
                c.matched = i;
                c.value = u;
                c.period = brent ? lap(m, saved) : i - saved_index;
                c.entry = first + entry_index(m, start, c.period);
                return c;
            }
        }
        saved = u; // the window's last term, just before the next window
    }
}

Cycle cycle_doubling(int m, int u0, Steps &out)
{
    out.run("doubling", "m", m, "u0", u0);
    Cycle c = window_search(m, u0, 0, false, "doubling", out);
    out.result("doubling", "period", c.period, "entry", c.entry, "saved_index", c.saved, "index", c.matched);
    return c;
}

// Floyd's tortoise t = u(k) and hare h = u(2k), terms numbered from 1: they
// start on u(1) and u(2), and first meet at the least multiple of the period
// that is at least the entry index; one more lap of the hare from there
// gives the least period.
static Cycle floyd_from_one(int m, int u1, Steps &out)
{
    out.phase("floyd");
    int t = u1, h = next_term(u1, m), k = 1;
    out.step("tortoise_hare", "k", 1, "hare_index", 2, "tortoise", t, "hare", h);
    while (t != h) {
        k = k + 1;
        t = next_term(t, m);
        h = next_term_twice(h, m);
        out.step("tortoise_hare", "k", k, "hare_index", 2 * k, "tortoise", t, "hare", h);
    }
    Cycle c = lap_and_entry(m, u1, t);
    c.entry += 1;
    c.meeting = k;
    out.step("meeting", "meeting", k, "value", t, "period", c.period, "entry", c.entry);
    return c;
}

ThreeCycles cycle_three_methods(int m, int u1, Steps &out)
{
    out.run("three_methods", "m", m, "u1", u1);
    ThreeCycles found;
    out.phase("windows");
    found.windows = window_search(m, u1, 1, false, "window", out);
    out.step("window_match", "saved_index", found.windows.saved, "index", found.windows.matched, "period",
             found.windows.period, "entry", found.windows.entry);
    out.pause();
    found.floyd = floyd_from_one(m, u1, out);
    out.pause();
    out.phase("brent");
    found.brent = window_search(m, u1, 1, true, "brent", out);
    const Cycle &b = found.brent;
    out.step("brent_match", "saved_index", b.saved, "saved", b.value, "index", b.matched, "distance",
             b.matched - b.saved, "period", b.period, "entry", b.entry);
    out.result("three_methods", "period", found.windows.period, "entry", found.windows.entry, "meeting",
               found.floyd.meeting, "windows_saved_index", found.windows.saved, "windows_index",
               found.windows.matched, "brent_saved_index", b.saved, "brent_index", b.matched);
    return found;
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
