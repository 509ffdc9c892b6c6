// The picture programs explained: what the picture shows, and for each
// stage its caption and its legend (what each colour and mark means, the
// scale, the ranges of the axes or of the lattice), then the conclusion.
#include "plots.hpp"
#include <algorithm>
#include <cmath>
#include <utility>

// A whole number with a true minus sign: "−72".
static std::string signed_number(long long v)
{
    return v < 0 ? "−" + number(-v) : number(v);
}

// A real with `digits` decimals, with the decimal comma in French.
static std::string decimal(double v, int digits)
{
    std::string text = format("%.*f", digits, v);
    if (current_language() == "fr")
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// n² + bn + c with its true signs: "n² + n + 41", "n² − 79n + 1601".
static std::string polynomial_math(long long b, long long c)
{
    std::string text = "n²";
    if (b != 0)
        text += (b < 0 ? " − " : " + ") + (b == 1 || b == -1 ? "" : number(b < 0 ? -b : b)) + "n";
    if (c != 0)
        text += (c < 0 ? " − " : " + ") + number(c < 0 ? -c : c);
    return text;
}

// a + bi with its true signs: "1 + i", "19 − 46i", "−3", "7i".
static std::string gaussian_math(long long a, long long b)
{
    std::string imaginary = (b == 1 || b == -1 ? "" : number(b < 0 ? -b : b)) + "i";
    if (b == 0)
        return signed_number(a);
    if (a == 0)
        return (b < 0 ? "−" : "") + imaginary;
    return signed_number(a) + (b < 0 ? " − " : " + ") + imaginary;
}

// "Stage 2 of 3: what it shows", set off as a paragraph.
static void stage_title(const Event &e, const std::string &text, Explainer &x)
{
    x.paragraph(format(_("Stage %1$lld of %2$lld: %3$s"), e["stage"], e["count"], text.c_str()));
}

// A stage's legend: each mark or measure in a column, its meaning wrapped
// beside it.
using Rows = std::vector<std::pair<std::string, std::string>>;
static void legend_rows(Explainer &x, const Rows &rows)
{
    int width = 0;
    for (const auto &row : rows)
        width = std::max(width, text_width(row.first));
    std::string indent(2 + width + 2, ' ');
    for (const auto &row : rows)
        x.wrapped(row.second, indent, "  " + row.first + std::string(width - text_width(row.first) + 2, ' '));
}

// The lattice of a Gaussian picture: a from a_low to a_high, b from b_low to
// b_high, of the square |a|, |b| <= bound, at `scale` pixels a unit about
// the centre (400, 300), b upward.
static void lattice_rows(Explainer &x, Rows &rows)
{
    const Recorder::Kept &run = x.run;
    long long s = run["scale"], bound = run["bound"];
    long long a_low = run.find("a_low") ? run["a_low"] : -bound,
              a_high = run.find("a_high") ? run["a_high"] : bound;
    long long b_low = run.find("b_low") ? run["b_low"] : -bound,
              b_high = run.find("b_high") ? run["b_high"] : bound;
    rows.push_back(
        {_("scale"), format(_("%lld pixels per unit; 0 at the centre, pixel (400, 300); a to the right, "
                              "b upward"),
                            s)});
    auto range = [&](long long low, long long high, long long pixel_low, long long pixel_high, bool columns) {
        std::string text = format(
            columns ? _("%1$s to %2$s, columns %3$lld to %4$lld") : _("%1$s to %2$s, rows %3$lld to %4$lld"),
            signed_number(low).c_str(), signed_number(high).c_str(), pixel_low, pixel_high);
        if (low != -bound || high != bound)
            text += format(_(": the window cuts the square's %1$s to %2$lld"), signed_number(-bound).c_str(),
                           bound);
        return text;
    };
    rows.push_back({_("a range"), range(a_low, a_high, 400 + a_low * s, 400 + a_high * s, true)});
    rows.push_back({_("b range"), range(b_low, b_high, 300 - b_high * s, 300 - b_low * s, false)});
}

// A picture's legend: the line of each stage, then the marks of the picture.
static Legend picture_legend(Legend marks)
{
    marks.insert(marks.begin(),
                 {N_("stage k of N"), N_("the stage shown in the window, of N, and what it shows")});
    return marks;
}

// ---------------------------------------------------------------------------
// ulam_spiral_plot

const Legend ulam_spiral_plot_legend = picture_legend({
    {N_("light grey"), N_("the path of the spiral, from each number to the next")},
    {N_("black dot"), N_("a prime")},
    {N_("red disc"), N_("a value of the polynomial that is prime")},
    {N_("black blot"), N_("a value of the polynomial that is not prime")},
});

static void ulam_run(const Event &e, Explainer &x)
{
    x.heading(
        format(_("The Ulam spiral of the numbers 1 to %1$lld, with the values of %2$s for n = 0 to %3$lld"),
               e["last"], polynomial_math(e["b"], e["c"]).c_str(), e["values"] - 1));
    x.paragraph(
        _("Each number stands on a point of the square lattice: 1 at the centre, 2 to its right, then "
          "the path turns up, left and down, winding outward ring by ring. Marked on it, the primes crowd "
          "onto diagonal lines; the numbers along a diagonal are the values of a quadratic in the number "
          "of the ring. The last stage picks out the values of a quadratic n² + bn + c and shows which "
          "are prime."));
    x.legend(ulam_spiral_plot_legend);
}

static void ulam_path(const Event &e, Explainer &x)
{
    long long rounds = x.run["rounds"];
    stage_title(e, format(_("the numbers 1 to %lld on a square spiral, its path in light grey"), e["last"]),
                x);
    legend_rows(
        x, {
               {_("light grey"), format(_("the path: a segment of 4 pixels from each number to the next, "
                                          "%lld segments in all"),
                                        e["last"] - 1)},
               {_("scale"), _("4 pixels per step of the lattice; the number 1 at the centre, pixel "
                              "(400, 300)")},
               {_("columns"),
                format(_("x from %1$s to %2$lld, pixels %3$lld to %4$lld, rightward"),
                       signed_number(-rounds).c_str(), rounds, 400 - 4 * rounds, 400 + 4 * rounds)},
               {_("rows"), format(_("y from %1$s to %2$lld, rows %3$lld to %4$lld, downward; the last "
                                    "number, %5$lld, at the bottom left corner (%1$s, %2$lld)"),
                                  signed_number(-rounds).c_str(), rounds, 300 - 4 * rounds, 300 + 4 * rounds,
                                  e["last"])},
           });
}

static void ulam_primes(const Event &e, Explainer &x)
{
    long long primes = e["primes"], limit = e["limit"];
    stage_title(e, format(_("the %1$lld primes up to %2$lld, one black dot each"), primes, limit), x);
    legend_rows(x, {
                       {_("black dot"), format(_("a prime n from 2 to %lld: a disc of radius 2 pixels on its "
                                                 "point, as the sieve of Eratosthenes finds them"),
                                               limit)},
                       {_("light grey"), _("the path, still seen on 1 and on the composite numbers")},
                   });
    // The proportion of primes beside what the prime number theorem expects:
    // x / (ln x - 1) primes up to x.
    double expected = limit / (std::log(static_cast<double>(limit)) - 1);
    x.paragraph(
        format(_("%1$lld of the %2$lld numbers from 2 to %3$lld are prime: %4$s %%. The prime number "
                 "theorem expects about x / (ln x − 1) ≈ %5$s primes up to x = %3$lld, that is %6$s %%."),
               primes, limit - 1, limit, decimal(100.0 * primes / (limit - 1), 2).c_str(),
               decimal(expected, 0).c_str(), decimal(100.0 * expected / (limit - 1), 2).c_str()));
}

static void ulam_values(const Event &e, Explainer &x)
{
    std::string polynomial = polynomial_math(e["b"], e["c"]);
    long long prime = e["values_prime"], composite = e["values_composite"];
    if (composite == 0)
        stage_title(e,
                    format(_("the values of %1$s for n = %2$lld to %3$lld, all %4$lld prime, in red"),
                           polynomial.c_str(), e["first_n"], e["last_n"], prime),
                    x);
    else
        stage_title(e,
                    format(_("the values of %1$s for n = %2$lld to %3$lld: %4$lld of them prime, in red; "
                             "%5$lld not prime, as black blots"),
                           polynomial.c_str(), e["first_n"], e["last_n"], prime, composite),
                    x);
    legend_rows(x,
                {
                    {_("red disc"), _("a value that is prime: its point carries a black dot, read back from "
                                      "the picture, which turns red")},
                    {_("black blot"), _("a value that is not prime: a disc of radius 10 pixels on its point, "
                                        "drawn under the red discs so that every prime stays in sight")},
                });
    x.paragraph(_("The values for n = 0, 1, 2, … in order; * marks a value that is not prime:"));
}

static void ulam_value(const Event &e, Explainer &x)
{
    x.cell(number(e["value"]) + (e["prime"] != 0 ? "" : "*"));
}

static void ulam_result(const Event &e, Explainer &x)
{
    std::string polynomial = polynomial_math(e["b"], e["c"]);
    long long prime = e["values_prime"], composite = e["values_composite"], all = prime + composite;
    if (composite == 0)
        x.conclusion(
            format(_("All %1$lld values of %2$s for n = 0 to %3$lld are prime: each lies on one of the "
                     "%4$lld primes marked on the spiral."),
                   all, polynomial.c_str(), all - 1, e["primes"]));
    else if (prime == 0)
        x.conclusion(
            format(_("None of the %1$lld values of %2$s for n = 0 to %3$lld is prime: all of them are "
                     "black blots, off the %4$lld primes marked on the spiral."),
                   all, polynomial.c_str(), all - 1, e["primes"]));
    else
        x.conclusion(
            format(_("%1$lld of the %2$lld values of %3$s for n = 0 to %4$lld are prime, in red among "
                     "the %5$lld primes marked on the spiral; the other %6$lld are not."),
                   prime, all, polynomial.c_str(), all - 1, e["primes"], composite));
}

const ExplainTable ulam_spiral_plot_explain = {
    {EventKind::run, "ulam_spiral", ulam_run}, {EventKind::stage, "path", ulam_path},
    {EventKind::stage, "primes", ulam_primes}, {EventKind::stage, "values", ulam_values},
    {EventKind::item, "value", ulam_value},    {EventKind::result, "ulam_spiral", ulam_result},
};

// ---------------------------------------------------------------------------
// ulam_spiral_labels

const Legend ulam_spiral_labels_legend = picture_legend({
    {N_("black segment"), N_("one step of the spiral")},
    {N_("number"), N_("the number of the step, beside the point it reaches")},
    {N_("black dot"), N_("a point of the spiral; the last one has none")},
});

static void labels_run(const Event &e, Explainer &x)
{
    x.heading(
        format(_("The first %1$lld steps of the square spiral of the Ulam spiral, %2$lld pixels a step"),
               e["steps"], e["unit"]));
    x.paragraph(
        _("The spiral starts at the centre, point 0, and goes round in rounds of L steps right, L up, "
          "L + 1 left and L + 1 down, for L = 1, 3, 5, …: each round closes one more ring. Step k reaches "
          "the point where the Ulam spiral writes the number k + 1."));
    x.legend(ulam_spiral_labels_legend);
}

static void labels_round(const Event &e, Explainer &x)
{
    long long side = e["side"];
    x.line(
        format(_("Round %1$lld: %2$lld right, %2$lld up, %3$lld left, %3$lld down: steps %4$lld to %5$lld, "
                 "ending at (%6$s, %7$s)"),
               e["round"], side, side + 1, e["first"], e["last"], signed_number(e["x"]).c_str(),
               signed_number(e["y"]).c_str()));
}

static void labels_stage(const Event &e, Explainer &x)
{
    long long unit = x.run["unit"], rounds = x.run["rounds"], steps = e["steps"];
    stage_title(e, format(_("the first %lld steps of the spiral, each numbered where it arrives"), steps), x);
    legend_rows(
        x, {
               {_("black segment"), format(_("one step, %lld pixels long"), unit)},
               {_("number"), _("the number of the step, beside the point it reaches: below it after a "
                               "step right, right of it after a step up, above it after a step left, "
                               "left of it after a step down")},
               {_("black dot"), format(_("the points 0 to %1$lld, of radius 2 pixels; point %2$lld, the "
                                         "end, has none"),
                                       steps - 1, steps)},
               {"ULAM", _("the title, at the top left")},
               {_("scale"), format(_("%lld pixels per step; point 0 at the centre, pixel (400, 300)"), unit)},
               {_("columns"),
                format(_("x from %1$s to %2$lld, pixels %3$lld to %4$lld, rightward"),
                       signed_number(-rounds).c_str(), rounds, 400 - unit * rounds, 400 + unit * rounds)},
               {_("rows"),
                format(_("y from %1$s to %2$lld, rows %3$lld to %4$lld, downward"),
                       signed_number(-rounds).c_str(), rounds, 300 - unit * rounds, 300 + unit * rounds)},
           });
}

static void labels_result(const Event &e, Explainer &x)
{
    long long steps = e["steps"];
    x.conclusion(format(
        _("After %1$lld rounds the spiral has taken %2$lld steps and stands at (%3$s, %4$s): "
          "%5$lld points, numbered 0 to %2$lld, which hold the numbers 1 to %5$lld of the Ulam "
          "spiral."),
        x.run["rounds"], steps, signed_number(e["x"]).c_str(), signed_number(e["y"]).c_str(), steps + 1));
}

const ExplainTable ulam_spiral_labels_explain = {
    {EventKind::run, "spiral_steps", labels_run},
    {EventKind::step, "round", labels_round},
    {EventKind::stage, "steps", labels_stage},
    {EventKind::result, "spiral_steps", labels_result},
};

// ---------------------------------------------------------------------------
// prime_count_plot

const Legend prime_count_plot_legend = picture_legend({
    {N_("pi(n)"), N_("π(n), the number of primes up to n")},
    {N_("black dot"), N_("π(n) for an even n")},
    {N_("grey dot"), N_("the estimate n / ln n for the same n")},
});

static void count_run(const Event &e, Explainer &x)
{
    x.heading(
        format(_("The prime-counting function π(n) beside n / ln n, for the even n up to %lld"), e["limit"]));
    x.paragraph(
        _("π(n) counts the primes up to n. The prime number theorem says that the ratio of π(n) to "
          "n / ln n tends to 1 as n grows; the plot shows both curves over the same range, and how slowly "
          "their ratio comes down to 1."));
    x.legend(prime_count_plot_legend);
    x.paragraph(_("The count beside its estimate at every tenth of the range:"));
}

static void count_checkpoint(const Event &e, Explainer &x)
{
    const Value *estimate = e.find("estimate");
    double n_over_ln = estimate != nullptr ? estimate->real_value : 0;
    x.line(format(_("n = %1$6lld: π(n) = %2$5lld, n / ln n ≈ %3$8s, ratio %4$s"), e["n"], e["pi"],
                  decimal(n_over_ln, 1).c_str(), decimal(e["pi"] / n_over_ln, 3).c_str()));
}

static void count_stage(const Event &e, Explainer &x)
{
    long long limit = e["limit"];
    stage_title(
        e,
        format(_("π(n) in black above n / ln n in grey, for the even n up to %1$lld (π(%1$lld) = %2$lld)"),
               limit, e["pi"]),
        x);
    legend_rows(
        x, {
               {_("black dot"), _("π(n) for an even n: a disc of radius 2 pixels at column 20 + 0.015 n, "
                                  "row 550 − 0.1 π(n)")},
               {_("grey dot"), _("n / ln n for the same n: a disc of radius 1 pixel; from n = 17 on, π(n) "
                                 "lies above it")},
               {_("x axis"), format(_("n from 0 at column 20 to %lld at column 769, just left of the "
                                      "vertical line at 770: 0.015 pixel per unit, so some 33 successive "
                                      "even n share a column"),
                                    limit)},
               {_("y axis"), _("the count from 0 at row 550 upward: 0.1 pixel per unit, 10 to a pixel; "
                               "ticks at 1000 to 5000, rows 450 to 50")},
           });
}

static void count_result(const Event &e, Explainer &x)
{
    const Value *estimate = e.find("estimate");
    double n_over_ln = estimate != nullptr ? estimate->real_value : 0;
    x.conclusion(
        format(_("π(%1$lld) = %2$lld, while %1$lld / ln %1$lld ≈ %3$s: their ratio is %4$s. The prime "
                 "number theorem says that the ratio tends to 1, but slowly (roughly as 1 + 1/ln n), so "
                 "the black curve stays well above the grey one."),
               e["limit"], e["pi"], decimal(n_over_ln, 1).c_str(), decimal(e["pi"] / n_over_ln, 3).c_str()));
}

const ExplainTable prime_count_plot_explain = {
    {EventKind::run, "prime_count", count_run},
    {EventKind::item, "checkpoint", count_checkpoint},
    {EventKind::stage, "counts", count_stage},
    {EventKind::result, "prime_count", count_result},
};

// ---------------------------------------------------------------------------
// gaussian_walk_8, gaussian_walk_12, gaussian_walk_24

const Legend gaussian_walk_legend = picture_legend({
    {N_("grey disc"), N_("a Gaussian prime a + bi")},
    {N_("black disc"), N_("a Gaussian prime reached from the start")},
    {N_("black segment"), N_("a step of the walk, to a prime reached for the first time")},
    {N_("black circle"), N_("the smallest circle about 0, of whole radius, that holds every point reached")},
});

// The step set of a walk, by its number of steps.
static std::string steps_text(long long steps)
{
    if (steps == 8)
        return _("to the neighbouring points");
    if (steps == 12)
        return _("of length at most 2");
    return _("within a 5 × 5 square");
}

static const char *gaussian_primes_text()
{
    return _("A Gaussian integer a + bi is a Gaussian prime when it is no product of two Gaussian integers "
             "other than the units ±1, ±i: off the axes exactly when its norm a² + b² is a prime, on an axis "
             "exactly when it is ±p or ±pi with p a prime ≡ 3 (mod 4).");
}

static void walk_run(const Event &e, Explainer &x)
{
    x.heading(format(_("The Gaussian primes joined to %1$s by chains of the %2$lld steps %3$s"),
                     gaussian_math(e["a"], e["b"]).c_str(), e["steps"], steps_text(e["steps"]).c_str()));
    x.paragraph(gaussian_primes_text());
    x.paragraph(_("The walk goes from the start to every Gaussian prime one step away, and on from each of "
                  "those, one branch at a time (depth first), until no new prime is in reach."));
    x.legend(gaussian_walk_legend);
}

static void walk_primes(const Event &e, Explainer &x)
{
    stage_title(e, format(_("the Gaussian primes a + bi with |a|, |b| ≤ %lld, as grey discs"), e["bound"]),
                x);
    Rows rows = {{_("grey disc"), format(_("a Gaussian prime: %lld of them in the picture"), e["plotted"])}};
    lattice_rows(x, rows);
    legend_rows(x, rows);
}

static void walk_reached(const Event &e, Explainer &x)
{
    std::string start = gaussian_math(e["a"], e["b"]);
    long long radius = e["radius"], norm = e["farthest_norm"];
    stage_title(
        e,
        format(_("the %1$lld primes that the %2$lld steps reach from %3$s, inside the circle of radius "
                 "%4$lld"),
               e["reached"], e["steps"], start.c_str(), radius),
        x);
    legend_rows(
        x,
        {
            {_("black disc"),
             format(_("a prime reached from %1$s, a disc of radius 2 pixels: %2$lld of them"), start.c_str(),
                    e["reached"])},
            {_("black segment"), _("the step by which the walk first reached a prime; the steps are tried in "
                                   "a fixed order and each branch is followed to its end before the next, so "
                                   "the segments form a tree")},
            {_("grey disc"), _("a Gaussian prime that the walk did not reach")},
            {_("black circle"),
             format(_("radius %1$lld units (%2$lld pixels) about 0: the farthest point "
                      "reached, %3$s, has norm %4$lld, and √%4$lld ≈ %5$s < %1$lld"),
                    radius, radius * x.run["scale"], gaussian_math(e["farthest_a"], e["farthest_b"]).c_str(),
                    norm, decimal(std::sqrt(static_cast<double>(norm)), 2).c_str())},
        });
}

static void walk_result(const Event &e, Explainer &x)
{
    long long norm = e["farthest_norm"], beyond = e["beyond"];
    std::string reached =
        format(_("From %1$s, chains of the %2$lld steps reach %3$lld Gaussian primes, all "
                 "within distance √%4$lld ≈ %5$s of 0, inside the circle of radius %6$lld."),
               gaussian_math(x.run["a"], x.run["b"]).c_str(), x.run["steps"], e["reached"], norm,
               decimal(std::sqrt(static_cast<double>(norm)), 2).c_str(), e["radius"]);
    // Whether the walk took in every prime that the steps join to the start,
    // or stopped at the edge of the picture.
    if (beyond == 0)
        x.conclusion(
            reached + " " +
            _("No step from them lands on a Gaussian prime outside the picture, so these are all the "
              "Gaussian primes that such chains join to the start, in the whole plane."));
    else
        x.conclusion(
            reached + " " +
            format(_("%lld steps from them land on Gaussian primes outside the picture, which the walk "
                     "cannot follow: beyond the picture the chains may go on."),
                   beyond));
}

const ExplainTable gaussian_walk_explain = {
    {EventKind::run, "gaussian_walk", walk_run},
    {EventKind::stage, "primes", walk_primes},
    {EventKind::stage, "walk", walk_reached},
    {EventKind::result, "gaussian_walk", walk_result},
};

// ---------------------------------------------------------------------------
// gaussian_graph_12

const Legend gaussian_graph_legend = picture_legend({
    {N_("blue pixel"), N_("a Gaussian prime a + bi")},
    {N_("black segment"), N_("two Gaussian primes at most 2 apart")},
    {N_("grey circle"), N_("the circle of radius 46 about 0 that gaussian_walk_12 draws")},
});

static void graph_run(const Event &e, Explainer &x)
{
    x.heading(format(_("The Gaussian primes with |a|, |b| ≤ %1$lld, every two of them at most %2$lld apart "
                       "joined"),
                     e["bound"], e["length"]));
    x.paragraph(gaussian_primes_text());
    x.paragraph(
        _("Joining the primes that lie one step of length at most 2 apart gives the graph in which "
          "gaussian_walk_12 walks. The graph is read off the picture itself: each blue pixel is taken as "
          "a point, and its twelve neighbours are looked up on the screen."));
    x.legend(gaussian_graph_legend);
}

static void graph_primes(const Event &e, Explainer &x)
{
    stage_title(
        e, format(_("the Gaussian primes a + bi with |a|, |b| ≤ %lld, one blue pixel each"), e["bound"]), x);
    Rows rows = {
        {_("blue pixel"), format(_("a Gaussian prime, one pixel on its point: %lld of them"), e["plotted"])}};
    lattice_rows(x, rows);
    legend_rows(x, rows);
}

static void graph_edges(const Event &e, Explainer &x)
{
    long long radius = e["radius"];
    stage_title(e,
                format(_("every two of them at most %1$lld apart joined in black; the grey circle of radius "
                         "%2$lld"),
                       e["length"], radius),
                x);
    legend_rows(
        x, {
               {_("black segment"), format(_("two primes one of the 12 steps apart (of length 1, √2 or "
                                             "2): %lld pairs joined"),
                                           e["edges"])},
               {_("grey circle"), format(_("radius %1$lld units (%2$lld pixels) about 0, drawn before the "
                                           "segments: it covers %3$lld of the primes, whose pixels turn "
                                           "grey, so that they are joined to nothing"),
                                         radius, radius * x.run["scale"], e["covered"])},
           });
}

static void graph_result(const Event &e, Explainer &x)
{
    x.conclusion(
        format(_("%1$lld pairs of the %2$lld Gaussian primes of the picture lie at most %3$lld apart and "
                 "are joined; the %4$lld primes under the grey circle are left out of the graph."),
               e["edges"], e["plotted"], x.run["length"], e["covered"]));
}

const ExplainTable gaussian_graph_explain = {
    {EventKind::run, "gaussian_graph", graph_run},
    {EventKind::stage, "primes", graph_primes},
    {EventKind::stage, "graph", graph_edges},
    {EventKind::result, "gaussian_graph", graph_result},
};

// ---------------------------------------------------------------------------
// fermat_walk_plot

const Legend fermat_walk_plot_legend = picture_legend({
    {N_("grey curve"), N_("the hyperbola x² − y² = n")},
    {N_("black ring"), N_("the start of the walk")},
    {N_("black band"), N_("one step of the walk, right or up")},
    {N_("black disc"), N_("the end of the walk, on the hyperbola")},
});

static void fermat_run(const Event &e, Explainer &x)
{
    long long n = e["n"], x0 = e["x"], y0 = e["y"];
    x.heading(format(_("Fermat's method on n = %1$lld as a walk on the lattice, from (%2$lld, %3$lld) to the "
                       "hyperbola x² − y² = %1$lld"),
                     n, x0, y0));
    x.paragraph(
        _("If n = x² − y², then n = (x − y)(x + y). The walk tries the points (x, y) of the lattice and "
          "keeps r = x² − y² − n: while r < 0 it steps right (x + 1, and r grows by 2x + 1), while r > 0 "
          "it steps up (y + 1, and r shrinks by 2y + 1). It starts at the least x with x² ≥ n and y = 0, "
          "and stops where r = 0, on the hyperbola."));
    x.legend(fermat_walk_plot_legend);
    x.paragraph(format(_("At the start (%1$lld, %2$lld), r = %1$lld² − %2$lld² − %3$lld = %4$s."), x0, y0, n,
                       signed_number(e["r"]).c_str()));
}

static void fermat_step(const Event &e, Explainer &x)
{
    std::string before = signed_number(e["before"]), after = signed_number(e["r"]);
    if (e["before"] > 0)
        x.line(format(_("%1$2lld. r = %2$s > 0: up to (%3$lld, %4$lld), r = %2$s − %5$lld = %6$s"), e["k"],
                      before.c_str(), e["x"], e["y"], e["odd"], after.c_str()));
    else
        x.line(format(_("%1$2lld. r = %2$s < 0: right to (%3$lld, %4$lld), r = %2$s + %5$lld = %6$s"), e["k"],
                      before.c_str(), e["x"], e["y"], e["odd"], after.c_str()));
}

static void fermat_stage(const Event &e, Explainer &x)
{
    long long n = e["n"], sx = e["start_x"], sy = e["start_y"], ex = e["x"], ey = e["y"];
    stage_title(e,
                format(_("the walk from (%1$lld, %2$lld) up and right to the hyperbola x² − y² = %3$lld, at "
                         "(%4$lld, %5$lld): %3$lld = %6$lld · %7$lld"),
                       sx, sy, n, ex, ey, e["factor"], e["cofactor"]),
                x);
    legend_rows(
        x, {
               {_("grey curve"), format(_("the branch of x² − y² = %1$lld from (√%1$lld, 0) ≈ (%2$s, 0), "
                                          "drawn up to row 10, where y = 18"),
                                        n, decimal(std::sqrt(static_cast<double>(n)), 2).c_str())},
               {_("black ring"), format(_("the start (%1$lld, %2$lld): %1$lld is the least x with x² ≥ "
                                          "%3$lld"),
                                        sx, sy, n)},
               {_("black band"), format(_("one step: %1$lld in all, %2$lld right and %3$lld up"),
                                        ex - sx + ey - sy, ex - sx, ey - sy)},
               {_("black disc"),
                format(_("the end (%1$lld, %2$lld), where r = 0: %1$lld² − %2$lld² = %3$lld"), ex, ey, n)},
               {_("scale"), _("30 pixels per unit; (0, 0) at pixel (30, 550); y upward")},
               {_("axes"), _("x from 0 to 20, columns 30 to 630; y from 0 to 15, rows 550 to 100")},
           });
}

static void fermat_result(const Event &e, Explainer &x)
{
    long long ex = e["x"], ey = e["y"];
    x.conclusion(
        format(_("The walk stops at (%1$lld, %2$lld) after %3$lld steps: %1$lld² − %2$lld² = %4$lld − "
                 "%5$lld = %6$lld, so %6$lld = (%1$lld − %2$lld)(%1$lld + %2$lld) = %7$lld · %8$lld."),
               ex, ey, e["steps"], ex * ex, ey * ey, e["n"], e["factor"], e["cofactor"]));
}

const ExplainTable fermat_walk_plot_explain = {
    {EventKind::run, "fermat_walk", fermat_run},
    {EventKind::step, "walk", fermat_step},
    {EventKind::stage, "walk", fermat_stage},
    {EventKind::result, "fermat_walk", fermat_result},
};
