// The cycle searches explained: what each step compares and what the
// search concludes about the period and the entry index.
#include "cycles.hpp"

// "u → u² + 1 (mod 41), from u(0) = 16"
static std::string sequence_text(const Recorder::Kept &run, const char *first)
{
    return format(_("u → u² + 1 (mod %lld), from u(%s) = %lld"), run["m"], first, run[first[0] == '1' ? "u1" : "u0"]);
}

const Legend cycle_floyd_legend = {
    {N_("first column"), N_("k, the step")},
    {N_("second column"), N_("u(k), the tortoise")},
    {N_("third column"), N_("u(2k), the hare")},
    {"periode", N_("the period: the length of the cycle (French \"période\")")},
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
    x.conclusion(format(_("The sequence enters its cycle at u(%lld) (entry index %lld) and repeats every %lld "
                          "terms (period %lld), found by one more lap of the hare from where they met. The "
                          "meeting index %lld is %lld × %lld, a multiple of the period, and at least the "
                          "entry index."),
                        entry, entry, period, period, k, k / period, period));
}

const ExplainTable cycles_explain = {
    {EventKind::run, "floyd", floyd_run},
    {EventKind::step, "floyd", floyd_step},
    {EventKind::result, "floyd", floyd_result},
};
