// The primality programs explained: what each listing holds, the quantities
// the tests work with (n - 1 = 2^s * q, each power with its exponent), and
// conclusions drawn from the numbers themselves.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cmath>
#include <cstdlib>

// A real value of an event (a whole number read as a real), 0 when absent.
static double real(const Event &e, const char *name)
{
    const Value *v = e.find(name);
    if (v == nullptr)
        return 0;
    return v->type == Value::real ? v->real_value : static_cast<double>(v->integer_value);
}

// A list value of an event, empty when absent.
static const std::vector<long long> &list(const Event &e, const char *name)
{
    static const std::vector<long long> none;
    const Value *v = e.find(name);
    return v != nullptr && v->type == Value::list ? *v->list_value : none;
}

// Korselt's criterion: composite n is a Carmichael number, a^(n-1) = 1
// (mod n) for every a prime to n, when it is square-free and p - 1 divides
// n - 1 for every prime p dividing it.
static bool korselt(long long n)
{
    long long rest = n, primes = 0;
    while (rest > 1) {
        long long p = least_factor(rest);
        rest /= p;
        if (rest % p == 0 || (n - 1) % (p - 1) != 0)
            return false;
        primes++;
    }
    return primes >= 2;
}

// The largest odd number below limit: the last one a test meets.
static long long last_odd_below(long long limit)
{
    return (limit - 1) % 2 != 0 ? limit - 1 : limit - 2;
}

// ---- The listings

const Legend prime_listing_legend = {
    {N_("the numbers"), N_("the primes up to the limit, in ascending order, each followed by a blank")},
    {"Nombre", N_("the number of primes up to the limit")},
};

const Legend prime_listing_compacted_legend = {
    {N_("first listing"), N_("the primes up to the limit, read from the sieve's table in index order")},
    {"Nombre", N_("the number of primes up to the limit")},
    {N_("second listing"), N_("after a pause: the table once its primes were moved to its front, read from entry "
                              "0 up to the first zero; the same primes again")},
};

const Legend prime_proportion_legend = {
    {N_("the numbers"), N_("the primes up to the limit, in ascending order, each followed by a blank")},
    {"Nombre", N_("the number of primes up to the limit")},
    {"Proportion de premiers", N_("the proportion of primes: their number divided by the limit")},
    {"Proportion theorique de premiers",
     N_("the \"theoretical\" proportion 1/ln(limit) that the prime number theorem suggests; in the built-in run "
        "a fixed value, 0.080, while 1/ln(131072) ≈ 0.085")},
};

// How the sieve finds the primes up to the run's limit.
static void sieve_paragraph(Explainer &x)
{
    x.paragraph(format(_("The sieve of Eratosthenes writes 2, 3, …, %1$lld in a table and, for each p still "
                         "standing with p² ≤ %1$lld, crosses out the multiples of p from 2p on; the numbers left "
                         "standing are the primes. Read in index order, the table gives them in ascending order."),
                       x.run["limit"]));
}

static void listing_run(const Event &, Explainer &x)
{
    x.heading(format(_("The primes up to %lld, by the sieve of Eratosthenes"), x.run["limit"]));
    sieve_paragraph(x);
    x.legend(prime_listing_legend);
    x.paragraph(format(_("The primes up to %lld:"), x.run["limit"]));
}

// A prime of a listing: a cell; the last one is the largest.
static void prime_item(const Event &e, Explainer &x)
{
    x.cell(number(e["value"]));
    x.memory["largest"] = e["value"];
}

// π(N), the largest prime, and N/ln(N), which π(N) approaches in ratio.
static void prime_count_conclusion(long long count, Explainer &x)
{
    long long limit = x.run["limit"];
    x.conclusion(format(_("Primes up to %1$lld: π(%1$lld) = %2$lld, the largest being %3$lld. By the prime "
                          "number theorem π(N) is close to N/ln(N) for large N, in the sense that their ratio "
                          "tends to 1; here N/ln(N) ≈ %4$.0f."),
                        limit, count, x.memory["largest"], limit / std::log(static_cast<double>(limit))));
}

static void listing_result(const Event &e, Explainer &x)
{
    prime_count_conclusion(e["count"], x);
}

static void compacted_run(const Event &, Explainer &x)
{
    x.heading(format(_("The primes up to %lld, listed from the sieve's table, then again from the table "
                       "compacted"),
                     x.run["limit"]));
    sieve_paragraph(x);
    x.legend(prime_listing_compacted_legend);
    x.paragraph(format(_("The primes up to %lld, as the sieve leaves them:"), x.run["limit"]));
}

static void compacted_count(const Event &e, Explainer &x)
{
    prime_count_conclusion(e["count"], x);
}

static void compaction(const Event &, Explainer &x)
{
    x.paragraph(_("Then the table is read again from entry 0, and each prime moves down to the next free entry "
                  "from the front, the k-th prime to entry k − 1, while its old entry is set to 0. Entries 0 and "
                  "1 hold no prime, so a prime never lands where another still waits to be read. The second "
                  "listing reads entries 0, 1, 2, … and stops at the first zero:"));
}

static void compacted_result(const Event &e, Explainer &x)
{
    x.conclusion(format(_("The second listing stops at entry %1$lld, the first that holds 0: it gives the primes "
                          "of the first listing in the same order, now in entries 0 to %2$lld."),
                        e["count"], e["count"] - 1));
}

static void proportion_run(const Event &, Explainer &x)
{
    long long limit = x.run["limit"];
    x.heading(format(_("The primes up to %1$lld: their number, and their proportion beside 1/ln(%1$lld)"), limit));
    sieve_paragraph(x);
    x.paragraph(_("By the prime number theorem about one number in ln(N) is prime near N, so the proportion of "
                  "primes up to N is close to 1/ln(N) when N is large."));
    x.legend(prime_proportion_legend);
    x.paragraph(format(_("The primes up to %lld:"), limit));
}

static void proportion_result(const Event &e, Explainer &x)
{
    long long limit = x.run["limit"];
    double theoretical = real(e, "theoretical"), inverse_log = real(e, "inverse_log");
    x.conclusion(format(_("Primes up to %1$lld: π(%1$lld) = %2$lld, the largest being %3$lld. Their proportion "
                          "is %2$lld/%1$lld ≈ %4$.3f, beside 1/ln(%1$lld) ≈ %5$.3f."),
                        limit, e["count"], x.memory["largest"], real(e, "proportion"), inverse_log));
    // Built in, the trace's second proportion is a fixed number.
    if (theoretical != inverse_log)
        x.conclusion(format(_("The trace's \"theoretique\" line prints a fixed value, %1$.3f, that does not come "
                              "from the limit: 1/ln(%2$lld) ≈ %3$.3f."),
                            theoretical, limit, inverse_log));
}

// ---- Fermat pseudoprimes

const Legend fermat_pseudoprimes_legend = {
    {N_("first list"), N_("the composite n up to the limit with 2^(n−1) ≡ 1 (mod n): the Fermat pseudoprimes to "
                          "base 2")},
    {"faux premiers probables", N_("\"false probable primes\": composites that pass the Fermat test; each count "
                                   "line says how many pass to the bases it names")},
    {"non premier", N_("\"not prime\": a number of the list that is a multiple of the next base, 3 or 5, so that "
                       "it cannot pass to it")},
    {N_("other numbers"), N_("between two count lines, those of the list that pass to the next base, as they are "
                             "found; after a count line, the list of those that passed, again")},
};

static void fermat_run(const Event &, Explainer &x)
{
    long long limit = x.run["limit"];
    x.heading(format(_("Fermat pseudoprimes up to %lld: the composite n with a^(n−1) ≡ 1 (mod n) to base 2, "
                       "then also to bases 3 and 5"),
                     limit));
    x.paragraph(format(_("Fermat's little theorem: if p is prime and a is not a multiple of p, then "
                         "a^(p−1) ≡ 1 (mod p). A composite n may pass this test too; it is then a Fermat "
                         "pseudoprime to base a, a \"false probable prime\". Every odd n from 3 to %lld is tested "
                         "to base 2 (an even n never passes, since 2^(n−1) mod n is then even), and whether n is "
                         "composite is read from the sieve of Eratosthenes, not from the test. The composites "
                         "that pass are then tested to base 3, and those that pass again, to base 5."),
                       last_odd_below(limit + 1)));
    x.legend(fermat_pseudoprimes_legend);
    x.paragraph(_("The composites that pass to base 2, in the order they are found:"));
}

// The count after each pass.
static void fermat_count(const char *text, const Event &e, Explainer &x)
{
    x.paragraph(format(text, x.run["limit"], e["count"]));
}
static void base_2_count(const Event &e, Explainer &x)
{
    fermat_count(_("Fermat pseudoprimes to base 2 up to %lld: %lld."), e, x);
}
static void bases_2_3_count(const Event &e, Explainer &x)
{
    fermat_count(_("Fermat pseudoprimes to bases 2 and 3 up to %lld: %lld."), e, x);
}
static void bases_2_3_5_count(const Event &e, Explainer &x)
{
    fermat_count(_("Fermat pseudoprimes to bases 2, 3 and 5 up to %lld: %lld."), e, x);
}

// Before the first test to a new base: what the pass does.
static void fermat_base(long long base, Explainer &x)
{
    if (x.memory["base"] == base)
        return;
    x.memory["base"] = base;
    x.paragraph(format(_("Each is now tested to base %1$lld. A multiple of %1$lld (\"non premier\") cannot pass: "
                         "%1$lld^(n−1) mod n is then a multiple of %1$lld too."),
                       base));
}

static void fermat_multiple(const Event &e, Explainer &x)
{
    long long base = e["base"], n = e["n"];
    fermat_base(base, x);
    x.line(format(_("%1$lld = %2$lld · %3$lld: %4$s ≡ %5$lld (mod %1$lld), fails"), n, base, n / base,
                  power_of(base, n - 1).c_str(), e["power"]),
           true);
}

static void fermat_passes(const Event &e, Explainer &x)
{
    long long base = e["base"], n = e["n"];
    fermat_base(base, x);
    x.line(format(_("%1$lld: %2$s ≡ 1 (mod %1$lld), passes"), n, power_of(base, n - 1).c_str()), true);
}

static void fermat_fails(const Event &e, Explainer &x)
{
    long long base = e["base"], n = e["n"];
    fermat_base(base, x);
    x.line(format(_("%1$lld: %2$s ≡ %3$lld (mod %1$lld), fails"), n, power_of(base, n - 1).c_str(), e["power"]),
           true);
}

static void fermat_result(const Event &e, Explainer &x)
{
    x.conclusion(format(_("Fermat pseudoprimes up to %1$lld: %2$lld to base 2, %3$lld of them to bases 2 and 3, "
                          "%4$lld to bases 2, 3 and 5."),
                        x.run["limit"], e["base_2_count"], e["bases_2_3_count"], e["bases_2_3_5_count"]));
    const std::vector<long long> &all_three = list(e, "bases_2_3_5");
    long long carmichael = 0;
    for (long long n : all_three)
        carmichael += korselt(n);
    if (!all_three.empty())
        x.conclusion(format(_("The least that passes to all three bases is %1$lld = %2$s. Of the %3$lld that do, "
                              "%4$lld are Carmichael numbers (square-free, with p − 1 dividing n − 1 for every "
                              "prime p of n), which pass to every base prime to them."),
                            all_three.front(), factorization(all_three.front()).c_str(),
                            static_cast<long long>(all_three.size()), carmichael));
    x.conclusion(_("More bases thin the pseudoprimes out, but the Carmichael numbers, such as 561 = 3 · 11 · 17 "
                   "and 1729 = 7 · 13 · 19, pass to every base prime to them: only a base sharing a factor with "
                   "them exposes them."));
}

// ---- The strong test

// What the strong test checks, and why a prime passes it.
static void strong_test_paragraph(Explainer &x)
{
    x.paragraph(_("Write n − 1 = 2^s · q with q odd. n passes the strong (Miller–Rabin) test to base a when "
                  "a^q ≡ 1, or when one of a^q, a^(2q), a^(4q), …, a^(2^(s−1)·q), each the square of the one "
                  "before, is ≡ −1 (mod n). Every odd prime passes: a^(n−1) ≡ 1 by Fermat's little theorem, and "
                  "modulo a prime the only square roots of 1 are 1 and −1. A composite that passes is a strong "
                  "pseudoprime to base a."));
}

const Legend strong_pseudoprimes_legend = {
    {"Nombres non premiers, parmi les fort probablement premiers",
     N_("the heading: \"composite numbers, among the strong probable primes\"")},
    {N_("the numbers"), N_("the odd composites below the limit that pass the strong test to base 2, in ascending "
                           "order")},
};

static void strong_pseudoprimes_run(const Event &, Explainer &x)
{
    long long limit = x.run["limit"];
    x.heading(format(_("Strong pseudoprimes to base 2 below %lld: the odd composites that pass the strong "
                       "(Miller–Rabin) test to base 2"),
                     limit));
    strong_test_paragraph(x);
    x.paragraph(format(_("Every odd n from 3 to %lld is tested to base 2; whether one that passes is composite "
                         "is read from the sieve of Eratosthenes. The trace shows nothing until the search is "
                         "over."),
                       last_odd_below(limit)));
    x.legend(strong_pseudoprimes_legend);
}

static void strong_found(const Event &e, Explainer &x)
{
    x.paragraph(format(_("Strong pseudoprimes to base 2 below %lld: %lld."), x.run["limit"], e["count"]));
}

// How odd n passes the strong test to base 2: "2¹⁰²³ ≡ 1".
static std::string how_it_passes(long long n)
{
    StrongTest t = strong_test_of(static_cast<int>(n), 2);
    return power_of(2, static_cast<long long>(t.q) << t.squarings) + (t.power == 1 ? " ≡ 1" : " ≡ −1");
}

static void strong_pseudoprimes_result(const Event &e, Explainer &x)
{
    const std::vector<long long> &found = list(e, "strong_base_2");
    if (found.empty()) {
        x.conclusion(format(_("No odd composite below %lld passes the strong test to base 2: the least strong "
                              "pseudoprime to base 2 is 2047 = 23 · 89."),
                            x.run["limit"]));
        return;
    }
    long long n = found.front();
    StrongTest t = strong_test_of(static_cast<int>(n), 2);
    x.conclusion(format(_("The least, %1$lld = %2$s, passes as a prime would: %3$lld = %4$s · %5$d and %6$s "
                          "(mod %1$lld). Each of them also passes Fermat's test to base 2, while many Fermat "
                          "pseudoprimes fail the strong test: it is fooled more rarely."),
                        n, factorization(n).c_str(), n - 1, power_of(2, t.s).c_str(), t.q,
                        how_it_passes(n).c_str()));
}

const Legend strong_test_legend = {
    {"aq", N_("a^q mod n, where n − 1 = 2^s · q with q odd")},
    {"k=", N_("the number of squarings of a^q so far")},
    {"aexpo", N_("a^(2^k·q) mod n: aq squared k times; \"aexpo = -1\" stands for n − 1")},
    {"FPP", N_("strong probable prime (\"fortement probablement premier\"): n passes to base a")},
    {"non premier", N_("composite (\"not prime\"): a is a witness")},
    {"k=i", N_("the squarings ran out without reaching 1 or −1")},
};

static void strong_test_run(const Event &, Explainer &x)
{
    x.heading(format(_("The strong (Miller–Rabin) test of n = %lld to base a = %lld"), x.run["n"], x.run["a"]));
    strong_test_paragraph(x);
    x.paragraph(format(_("If a^q is neither 1 nor −1 and −1 never comes, n is composite and a is a witness of "
                         "it; otherwise n is a strong probable prime to base a. Below, every power is taken "
                         "modulo n = %lld."),
                       x.run["n"]));
    x.legend(strong_test_legend);
}

static void odd_part(const Event &e, Explainer &x)
{
    x.line(format(_("n − 1 = %1$lld = %2$s · %3$lld: s = %4$lld, q = %3$lld"), e["n_minus_1"],
                  power_of(2, e["s"]).c_str(), e["q"], e["s"]),
           true);
}

static void first_power(const Event &e, Explainer &x)
{
    x.line(format(_("a^q = %1$s ≡ %2$lld"), power_of(x.run["a"], e["exponent"]).c_str(), e["power"]), true);
}

static void first_power_decides(const Event &e, Explainer &x)
{
    x.line(format(_("a^q = %1$s ≡ %2$s: n passes at once"), power_of(x.run["a"], e["exponent"]).c_str(),
                  e["power"] == 1 ? "1" : "−1"),
           true);
}

static void squaring(const Event &e, Explainer &x)
{
    x.line(format(_("k = %1$lld: %2$lld^(%3$s·q) = %4$s ≡ %5$lld"), e["k"], x.run["a"], power_of(2, e["k"]).c_str(),
                  power_of(x.run["a"], e["exponent"]).c_str(), e["power"]),
           true);
}

// A square root of 1 other than 1 and -1: kept for the conclusion.
static void one_reached(const Event &e, Explainer &x)
{
    x.memory["root"] = e["root"];
    x.memory["factor"] = e["factor"];
    x.line(format(_("1 reached from %lld, which is neither 1 nor −1"), e["root"]), true);
}

static void minus_one_reached(const Event &, Explainer &x)
{
    x.line(_("−1 reached: n passes"), true);
}

static void squarings_exhausted(const Event &e, Explainer &x)
{
    x.memory["fermat"] = e["fermat"];
    if (e["fermat"] == 1) {
        x.memory["root"] = e["power"];
        x.memory["factor"] = e["factor"];
    }
    x.line(_("no −1 among a^q, …, a^(2^(s−1)·q)"), true);
}

static void strong_test_result(const Event &e, Explainer &x)
{
    long long n = e["n"], a = e["a"];
    if (std::string(e.find("verdict")->text_value) == "composite") {
        std::string verdict = format(_("%1$lld is composite: %2$lld is a witness."), n, a);
        if (x.memory.count("root") != 0)
            x.conclusion(verdict + " " +
                         format(_("%1$lld² ≡ 1 (mod %2$lld) although %1$lld is neither 1 nor −1: a square root "
                                  "of 1 that no prime modulus has. It even gives a factor: gcd(%1$lld − 1, %2$lld) "
                                  "= %3$lld."),
                                x.memory["root"], n, x.memory["factor"]));
        else
            x.conclusion(verdict + " " +
                         format(_("Even Fermat's test fails: %1$s ≡ %2$lld, not 1 (mod %3$lld)."),
                                power_of(a, n - 1).c_str(), x.memory["fermat"], n));
        return;
    }
    std::string verdict =
        format(_("%1$lld is a strong probable prime to base %2$lld: it passes as a prime would."), n, a);
    // Whether it is prime, by trial division: the test alone cannot say.
    if (least_factor(n) == n)
        x.conclusion(verdict + " " + format(_("It is indeed prime: no divisor from 2 up to √%lld."), n));
    else
        x.conclusion(verdict + " " +
                     format(_("Yet %1$lld = %2$s is composite: a strong pseudoprime to base %3$lld, which another "
                              "base may expose."),
                            n, factorization(n).c_str(), a));
}

const Legend strong_test_odd_legend = {
    {N_("each number"), N_("an odd n below the limit, followed by its verdict")},
    {"FPP", N_("strong probable prime to base 2 (\"fortement probablement premier\"): n passes the test")},
    {"non premier", N_("composite (\"not prime\"): the test proves it")},
};

static void strong_test_odd_run(const Event &, Explainer &x)
{
    x.heading(format(_("The strong test to base 2 on every odd n from 3 to %lld"), last_odd_below(x.run["limit"])));
    strong_test_paragraph(x);
    x.paragraph(_("No sieve is used: each verdict comes from the test alone. Each line gives n, then n − 1 = "
                  "2^s · q, then the power of 2 that decides (mod n) and the verdict."));
    x.legend(strong_test_odd_legend);
}

// "9: 8 = 2³ · 1", the start of a verdict's line, built without printf:
// a run up to 10^6 has half a million of them.
static std::string odd_part_text(const Event &e)
{
    long long n = e["n"];
    return std::to_string(n) + ": " + std::to_string(n - 1) + " = " + power_of(2, e["s"]) + " · " +
           std::to_string(e["q"]);
}

// The power reached, 2^(2^k q).
static std::string power_reached(const Event &e)
{
    return power_of(2, e["q"] << e["k"]);
}

static void odd_probable_prime(const Event &e, Explainer &x)
{
    x.line(format(_("%s, %s ≡ %s: passes"), odd_part_text(e).c_str(), power_reached(e).c_str(),
                  e["power"] == 1 ? "1" : "−1"),
           true);
}

static void odd_composite(const Event &e, Explainer &x)
{
    if (e["power"] == 1)
        x.line(format(_("%s, %s ≡ 1 before any −1: composite"), odd_part_text(e).c_str(), power_reached(e).c_str()),
               true);
    else
        x.line(format(_("%s, no −1 up to %s ≡ %s: composite"), odd_part_text(e).c_str(), power_reached(e).c_str(),
                      std::to_string(e["power"]).c_str()),
               true);
}

static void strong_test_odd_result(const Event &e, Explainer &x)
{
    long long limit = x.run["limit"];
    const std::vector<long long> &pseudoprimes = list(e, "strong_base_2");
    x.conclusion(format(_("Odd numbers from 3 to %1$lld: %2$lld tested, %3$lld pass (strong probable primes to "
                          "base 2), %4$lld shown composite."),
                        last_odd_below(limit), e["tested"], e["count"], e["composites"]));
    if (pseudoprimes.empty()) {
        x.conclusion(_("Every number that passes is prime, and every prime passes: here the verdicts agree with "
                       "primality. The least composite that passes to base 2 is 2047 = 23 · 89."));
        return;
    }
    x.conclusion(format(_("Yet %1$lld of those that pass are composite (as the sieve of Eratosthenes shows), "
                          "strong pseudoprimes to base 2, the least being %2$lld = %3$s; the other %4$lld are the "
                          "odd primes up to %5$lld. The composites that pass:"),
                        static_cast<long long>(pseudoprimes.size()), pseudoprimes.front(),
                        factorization(pseudoprimes.front()).c_str(),
                        e["count"] - static_cast<long long>(pseudoprimes.size()), last_odd_below(limit)));
    for (long long n : pseudoprimes)
        x.cell(number(n));
    x.end_block();
}

// ---- The spiral and the polynomial

const Legend spiral_legend = {
    {"(x  y)", N_("a point of the spiral, x to the right and y upward, from the origin outward")},
    {"nb de points", N_("the number of points listed (\"nombre de points\")")},
    {"(v i)", N_("a value v of the polynomial that is prime, and i its index in the prime table: i = v")},
    {"(v", N_("a value that is not prime: it is not in the table, so no index and no closing parenthesis "
              "follow")},
};

// "n² + n + 41", "n² − 79n + 1601", "n² + 210n".
static std::string polynomial_text(long long b, long long c)
{
    std::string text = "n²";
    if (b != 0)
        text += (b < 0 ? " − " : " + ") + (std::llabs(b) == 1 ? std::string() : number(std::llabs(b))) + "n";
    if (c != 0)
        text += (c < 0 ? " − " : " + ") + number(std::llabs(c));
    return text;
}

static void spiral_run(const Event &, Explainer &x)
{
    long long turns = x.run["turns"];
    x.heading(format(_("The square spiral of the Ulam picture in coordinates, then %s for n = 0 … 40 among "
                       "the primes"),
                     polynomial_text(x.run["b"], x.run["c"]).c_str()));
    x.paragraph(format(_("From the origin (0, 0), each turn m = 1, 3, 5, …, %1$lld takes m steps of x + 1, m "
                         "steps of y − 1, m + 1 steps of x − 1 and m + 1 steps of y + 1: a square spiral turning "
                         "clockwise. Its %2$lld turns give %3$lld points, every (x, y) with −%2$lld ≤ x ≤ %2$lld "
                         "and −%2$lld ≤ y ≤ %4$lld and the corner (−%2$lld, %2$lld), each met once. The trace "
                         "lists them from the origin outward:"),
                       2 * turns - 1, turns, 4 * turns * turns + 2 * turns + 1, turns - 1));
    x.legend(spiral_legend);
}

static void spiral_point(const Event &e, Explainer &x)
{
    x.cell(format("(%lld, %lld)", e["x"], e["y"]));
}

static void point_count(const Event &e, Explainer &x)
{
    x.paragraph(format(_("Points listed: %1$lld, from point 0, the origin, to point %2$lld; point %1$lld, the "
                         "corner (%3$lld, %4$lld), ends the last turn and is not listed."),
                       e["count"], e["count"] - 1, e["last_x"], e["last_y"]));
}

static void polynomial(const Event &e, Explainer &x)
{
    x.paragraph(format(_("Then %1$s for n = 0 … %2$lld: each value is looked up in the table of the primes up "
                         "to %3$lld (sieve of Eratosthenes). A prime's entry holds the prime itself and every "
                         "other entry 0, so a value is found, at its own index, exactly when it is prime. The "
                         "values from n = 0 on, a * marking those that are not prime:"),
                       polynomial_text(e["b"], e["c"]).c_str(), e["last"], e["bound"]));
}

static void spiral_result(const Event &e, Explainer &x)
{
    long long b = x.run["b"], c = x.run["c"], last = polynomial_last;
    const std::vector<long long> &others = list(e, "non_prime_values");
    auto prime = [&others](long long v) {
        for (long long o : others)
            if (o == v)
                return false;
        return true;
    };
    for (long long n = 0; n <= last; n++) {
        long long v = n * n + b * n + c;
        x.cell((prime(v) ? "" : "*") + number(v));
    }
    // Why each value that is not prime is not.
    if (!others.empty())
        x.paragraph(_("The values that are not prime:"));
    for (long long n = 0; n <= last; n++) {
        long long v = n * n + b * n + c;
        if (prime(v))
            continue;
        if (v < 2)
            x.line(format(_("n = %1$lld: %2$lld, neither prime nor composite"), n, v));
        else
            x.line(format("n = %lld: %lld = %s", n, v, factorization(v).c_str()));
    }
    x.conclusion(format(_("%1$lld of the %2$lld values are prime."), static_cast<long long>(list(e, "prime_values").size()),
                        last + 1));
    const Value *first = e.find("first_non_prime");
    if (first == nullptr || first->type != Value::integer)
        return;
    long long n = first->integer_value, v = n * n + b * n + c;
    std::string why = v < 2 ? number(v) : number(v) + " = " + factorization(v);
    if (n == 0)
        x.conclusion(format(_("Already at n = 0 the value is not prime: %s."), why.c_str()));
    else
        x.conclusion(format(_("The values are prime for n = 0 … %1$lld; the first that is not comes at n = %2$lld: "
                              "%3$s."),
                            n - 1, n, why.c_str()));
}

const ExplainTable primality_explain = {
    {EventKind::run, "prime_listing", listing_run},
    {EventKind::item, "prime", prime_item},
    {EventKind::result, "prime_listing", listing_result},
    {EventKind::run, "prime_listing_compacted", compacted_run},
    {EventKind::step, "prime_count", compacted_count},
    {EventKind::phase, "compaction", compaction},
    {EventKind::result, "prime_listing_compacted", compacted_result},
    {EventKind::run, "prime_proportion", proportion_run},
    {EventKind::result, "prime_proportion", proportion_result},

    {EventKind::run, "fermat_pseudoprimes", fermat_run},
    {EventKind::step, "base_2_count", base_2_count},
    {EventKind::step, "multiple", fermat_multiple},
    {EventKind::step, "passes", fermat_passes},
    {EventKind::step, "fails", fermat_fails},
    {EventKind::step, "bases_2_3_count", bases_2_3_count},
    {EventKind::step, "bases_2_3_5_count", bases_2_3_5_count},
    {EventKind::result, "fermat_pseudoprimes", fermat_result},

    {EventKind::run, "strong_pseudoprimes", strong_pseudoprimes_run},
    {EventKind::phase, "found", strong_found},
    {EventKind::result, "strong_pseudoprimes", strong_pseudoprimes_result},

    {EventKind::run, "strong_test", strong_test_run},
    {EventKind::step, "odd_part", odd_part},
    {EventKind::step, "first_power", first_power},
    {EventKind::step, "first_power_decides", first_power_decides},
    {EventKind::step, "squaring", squaring},
    {EventKind::step, "one_reached", one_reached},
    {EventKind::step, "minus_one_reached", minus_one_reached},
    {EventKind::step, "squarings_exhausted", squarings_exhausted},
    {EventKind::result, "strong_test", strong_test_result},

    {EventKind::run, "strong_test_odd", strong_test_odd_run},
    {EventKind::step, "probable_prime", odd_probable_prime},
    {EventKind::step, "composite", odd_composite},
    {EventKind::result, "strong_test_odd", strong_test_odd_result},

    {EventKind::run, "spiral", spiral_run},
    {EventKind::item, "point", spiral_point},
    {EventKind::step, "point_count", point_count},
    {EventKind::phase, "polynomial", polynomial},
    {EventKind::item, "prime_value", nullptr},
    {EventKind::item, "non_prime_value", nullptr},
    {EventKind::result, "spiral", spiral_result},
};
