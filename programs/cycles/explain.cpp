// The cycle searches explained: what each step compares and what the
// search concludes about the period and the entry index.
#include "cycles.hpp"

// "u → u² + 1 (mod 41), from u(0) = 16"
static std::string sequence_text(const Recorder::Kept &run, const char *first)
{
    return format(_("u → u² + 1 (mod %lld), from u(%s) = %lld"), run["m"], first,
                  run[first[0] == '1' ? "u1" : "u0"]);
}

// Why the sequence has a period and an entry index at all.
static void cycle_paragraph(Explainer &x)
{
    x.paragraph(
        format(_("The sequence takes at most %lld values, so it comes back to a value it took before: "
                 "from the entry index on, it goes round a cycle, whose length is the period."),
               x.run["m"]));
}

const Legend cycle_floyd_legend = {
    {N_("first column"), N_("k, the step")},
    {N_("second column"), N_("u(k), the tortoise")},
    {N_("third column"), N_("u(2k), the hare")},
    {"periode", N_("the period: the length of the cycle (French \"période\")")},
};

const Legend cycle_three_methods_legend = {
    {"(u(4)= 5   u(7)= 32)", N_("a comparison: the saved term u(4) = 5 against the term u(7) = 32")},
    {"Periode", N_("the period: the length of the cycle (French \"période\")")},
    {"Indice d'entree",
     N_("the entry index: the index of the first term on the cycle (French \"indice d'entrée\")")},
    {"FLOYD",
     N_("Floyd's tortoise and hare; the columns are k, 2k, u(k) (the tortoise) and u(2k) (the hare)")},
    {"periode", N_("the period, found by one more lap of the hare after the meeting")},
    {"BRENT", N_("Brent's variant of the windows: only the second half of each window is compared")},
};

const Legend cycle_doubling_search_legend = {
    {"(u(3)= 2   u(7)= 32)",
     N_("a comparison: u(3) = 2, the term just before the window u(4) .. u(7), against "
        "the term u(7) = 32 of that window")},
    {"Periode", N_("the period: the length of the cycle (French \"période\")")},
    {"Indice d'entree",
     N_("the entry index: the index of the first term on the cycle (French \"indice d'entrée\")")},
};

static void floyd_run(const Event &, Explainer &x)
{
    x.heading(format(_("Floyd's tortoise and hare on %s"), sequence_text(x.run, "0").c_str()));
    x.paragraph(_("The tortoise moves one term at a time and the hare two, so after k steps the tortoise "
                  "holds u(k) and the hare u(2k). Once both are on the cycle the hare gains one term a "
                  "step on the tortoise, so they meet; the meeting step k is a multiple of the period."));
    x.legend(cycle_floyd_legend);
}

static void floyd_step(const Event &e, Explainer &x)
{
    x.line(format(_("k = %lld: tortoise u(%lld) = %lld, hare u(%lld) = %lld"), e["k"], e["k"], e["tortoise"],
                  2 * e["k"], e["hare"]),
           true);
}

static void floyd_result(const Event &e, Explainer &x)
{
    long long k = e["meeting"], period = e["period"], entry = e["entry"];
    x.conclusion(format(_("The tortoise and the hare met at k = %lld, both on %lld: u(%lld) = u(%lld)."), k,
                        e["value"], k, 2 * k));
    x.conclusion(
        format(_("The sequence enters its cycle at u(%lld) (entry index %lld) and repeats every %lld "
                 "terms (period %lld), found by one more lap of the hare from where they met. The "
                 "meeting index %lld is %lld × %lld, a multiple of the period, and at least the "
                 "entry index."),
               entry, entry, period, period, k, k / period, period));
}

// One comparison of a window search. On the first term compared in a
// window, a line names the saved term and the window (and, for Brent, the
// terms skipped); then the term against the saved one and their distance.
static void window_step(const Event &e, Explainer &x)
{
    long long saved_index = e["saved_index"], index = e["index"], skipped = e["skipped"];
    if (index == saved_index + 1 + skipped) {
        if (skipped == 0)
            x.line(format(_("Saved u(%lld) = %lld; window u(%lld) .. u(%lld):"), saved_index, e["saved"],
                          saved_index + 1, e["window_end"]),
                   true);
        else
            x.line(format(_("Saved u(%lld) = %lld; window u(%lld) .. u(%lld), skipped up to u(%lld):"),
                          saved_index, e["saved"], saved_index + 1, e["window_end"], saved_index + skipped),
                   true);
    }
    if (e["term"] == e["saved"])
        x.line(format(_("  u(%lld) = u(%lld) = %lld; distance %lld: a repeat"), index, saved_index, e["term"],
                      index - saved_index),
               true);
    else
        x.line(format(_("  u(%lld) = %lld ≠ u(%lld) = %lld; distance %lld"), index, e["term"], saved_index,
                      e["saved"], index - saved_index));
}

// How the entry index is found once a multiple of the period is known.
static std::string entry_text(long long first, long long period, long long entry)
{
    return format(
        _("Two walkers %lld terms apart, from u(%lld) and u(%lld), first agree at u(%lld) = u(%lld): "
          "the entry index is %lld."),
        period, first, first + period, entry, entry + period, entry);
}

// The conclusion's first sentence: the period and the entry index.
static void cycle_conclusion(const Event &e, Explainer &x, long long first)
{
    long long period = e["period"], entry = e["entry"];
    x.conclusion(
        format(_("The period is %lld and the entry index %lld: the cycle begins at u(%lld), and "
                 "u(j + %lld) = u(j) for every j from %lld on (terms numbered from u(%lld) = %lld)."),
               period, entry, entry, period, entry, first, x.run[first == 0 ? "u0" : "u1"]));
}

static void three_methods_run(const Event &, Explainer &x)
{
    x.heading(format(_("Three searches for the cycle of %s"), sequence_text(x.run, "1").c_str()));
    cycle_paragraph(x);
    x.paragraph(_("Terms are numbered from u(1) here. Three methods find the period and the entry index by "
                  "comparing terms: power-of-two windows, Floyd's tortoise and hare, and Brent's variant of "
                  "the windows."));
    x.legend(cycle_three_methods_legend);
}

static void windows_phase(const Event &, Explainer &x)
{
    x.paragraph(
        _("1. Power-of-two windows. The terms u(1), u(2), u(4), u(8), ... are saved in turn, and each "
          "is compared with every term of the window after it, as long as its index: u(4) with "
          "u(5) .. u(8). Once the saved term is on the cycle and the window is at least as long as "
          "the period, the term one period on falls in the window: the first match is one period "
          "on."));
}

static void window_match(const Event &e, Explainer &x)
{
    x.paragraph(format(_("Found: u(%lld) = u(%lld), %lld terms on, the first match: the period is %lld."),
                       e["index"], e["saved_index"], e["index"] - e["saved_index"], e["period"]) +
                " " + entry_text(1, e["period"], e["entry"]));
}

static void floyd_phase(const Event &, Explainer &x)
{
    x.paragraph(_("2. FLOYD, the tortoise and the hare. The tortoise u(k) moves one term at a time and the "
                  "hare u(2k) two, from u(1) and u(2). Once both are on the cycle the hare gains one term a "
                  "step, so they meet: the meeting index k is a multiple of the period and at least the "
                  "entry index."));
}

static void meeting(const Event &e, Explainer &x)
{
    long long k = e["meeting"], period = e["period"];
    x.paragraph(
        format(_("The tortoise and the hare met at k = %lld, both on %lld: u(%lld) = u(%lld)."), k,
               e["value"], k, 2 * k) +
        " " +
        format(_("One more lap of the hare from %lld comes back to it after %lld terms: the period is "
                 "%lld, and the meeting index %lld is %lld × %lld."),
               e["value"], period, period, k, k / period, period) +
        " " + entry_text(1, period, e["entry"]));
}

static void brent_phase(const Event &, Explainer &x)
{
    x.paragraph(
        _("3. BRENT, Brent's variant of the windows. The same windows, but only the second half of each "
          "is compared with the saved term (u(8) with u(13) .. u(16)): the comparisons of the first "
          "half are saved, which matters where each one costs a gcd, as in Pollard's rho. The search "
          "still ends: once the saved term is on the cycle and the half compared is at least as long "
          "as the period, it holds a term a whole number of periods on. The distance found is more "
          "than the terms skipped, so it can be a multiple of the period; one more lap from the saved "
          "term gives the period itself."));
}

static void brent_match(const Event &e, Explainer &x)
{
    long long distance = e["distance"], period = e["period"];
    x.paragraph(
        format(_("Found: u(%lld) = u(%lld), %lld terms on, a multiple of the period. One more lap from "
                 "u(%lld) = %lld comes back to it after %lld terms: the period is %lld, and %lld = "
                 "%lld × %lld."),
               e["index"], e["saved_index"], distance, e["saved_index"], e["saved"], period, period, distance,
               distance / period, period) +
        " " + entry_text(1, period, e["entry"]));
}

// The period and the entry index, and how each method's match or meeting
// lies with respect to them.
static void three_methods_result(const Event &e, Explainer &x)
{
    long long period = e["period"], entry = e["entry"];
    cycle_conclusion(e, x, 1);
    long long saved = e["windows_saved_index"];
    x.conclusion(
        format(_("Power-of-two windows: u(%lld) matched the saved u(%lld), %lld terms on, the period "
                 "itself: %lld is the first power of two both at least the entry index %lld and at "
                 "least the period %lld."),
               e["windows_index"], saved, e["windows_index"] - saved, saved, entry, period));
    long long k = e["meeting"];
    x.conclusion(
        format(_("FLOYD: the tortoise and the hare met at k = %lld = %lld × %lld, the least multiple "
                 "of the period at least the entry index."),
               k, k / period, period));
    saved = e["brent_saved_index"];
    long long distance = e["brent_index"] - saved;
    x.conclusion(format(_("BRENT: u(%lld) matched the saved u(%lld), %lld = %lld × %lld terms on: the first "
                          "multiple of the period above the %lld terms skipped in that window."),
                        e["brent_index"], saved, distance, distance / period, period, saved / 2));
}

static void doubling_run(const Event &, Explainer &x)
{
    x.heading(format(_("Doubling windows on %s"), sequence_text(x.run, "0").c_str()));
    cycle_paragraph(x);
    x.paragraph(
        _("The windows u(b) .. u(2b − 1), for b = 1, 2, 4, 8, ..., double in length, and each of their "
          "terms is compared with u(b − 1), the term just before the window. Once u(b − 1) is on the "
          "cycle and the window is at least as long as the period, the term one period after u(b − 1) "
          "falls in the window: the first match is one period on."));
    x.legend(cycle_doubling_search_legend);
}

static void doubling_result(const Event &e, Explainer &x)
{
    long long saved = e["saved_index"], index = e["index"], period = e["period"];
    x.paragraph(format(_("Found: u(%lld) = u(%lld), %lld terms on, the first match: the period is %lld."),
                       index, saved, index - saved, period) +
                " " + entry_text(0, period, e["entry"]));
    cycle_conclusion(e, x, 0);
    x.conclusion(format(_("u(%lld) is the first saved term (u(0), u(1), u(3), u(7), ...) both on the cycle "
                          "(%lld ≥ %lld, the entry index) and followed by a window at least as long as the "
                          "period (%lld ≥ %lld terms), so its match came one period on."),
                        saved, saved, e["entry"], saved + 1, period));
}

const ExplainTable cycles_explain = {
    {EventKind::run, "floyd", floyd_run},
    {EventKind::step, "floyd", floyd_step},
    {EventKind::result, "floyd", floyd_result},
    {EventKind::run, "three_methods", three_methods_run},
    {EventKind::phase, "windows", windows_phase},
    {EventKind::step, "window", window_step},
    {EventKind::step, "window_match", window_match},
    {EventKind::phase, "floyd", floyd_phase},
    {EventKind::step, "tortoise_hare", floyd_step},
    {EventKind::step, "meeting", meeting},
    {EventKind::phase, "brent", brent_phase},
    {EventKind::step, "brent", window_step},
    {EventKind::step, "brent_match", brent_match},
    {EventKind::result, "three_methods", three_methods_result},
    {EventKind::run, "doubling", doubling_run},
    {EventKind::step, "doubling", window_step},
    {EventKind::result, "doubling", doubling_result},
};
