// The factoring methods explained: what each step computes, with the
// quantities the classic trace leaves out (the prime power applied, the
// base drawn, the gcd and the difference it is taken of, the saved value,
// the remainder of Fermat's walk), and a conclusion that holds whatever the
// method met: the split of n, or why there is none and what to try.
#include "arith/arith.hpp"
#include "programs/factoring/factoring.hpp"
#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

// ---- Arithmetic for the conclusions ------------------------------------------

// The prime factors of m >= 1 with their exponents, by trial division.
static std::vector<std::pair<long long, int>> prime_factors(long long m)
{
    std::vector<std::pair<long long, int>> found;
    for (long long d = 2; d <= m / d; d++)
        if (m % d == 0) {
            int k = 0;
            for (; m % d == 0; m /= d)
                k++;
            found.push_back({d, k});
        }
    if (m > 1)
        found.push_back({m, 1});
    return found;
}

// b^e mod m for m < 2^31: products below 2^62.
static long long power_mod(long long b, long long e, long long m)
{
    long long r = 1 % m;
    b %= m;
    for (; e > 0; e /= 2) {
        if (e % 2 == 1)
            r = r * b % m;
        b = b * b % m;
    }
    return r;
}

// The order of a modulo the odd prime p (a not a multiple of p): the least
// d > 0 with a^d = 1, a divisor of p - 1, found by removing primes from
// p - 1 while the power stays 1.
static long long order_mod(long long a, long long p)
{
    long long d = p - 1;
    for (const auto &[r, k] : prime_factors(p - 1))
        for (int j = 0; j < k && d % r == 0 && power_mod(a, d / r, p) == 1; j++)
            d /= r;
    return d;
}

// The largest prime power dividing d: the least q with d | lcm(1, ..., q).
static long long least_lcm_bound(long long d)
{
    long long q = 1;
    for (const auto &[r, k] : prime_factors(d)) {
        long long power = 1;
        for (int j = 0; j < k; j++)
            power *= r;
        q = std::max(q, power);
    }
    return q;
}

// The least i with d | i!: for each prime power r^k of d, the least multiple
// i of r whose factorial holds r at least k times (Legendre's count).
static long long least_factorial(long long d)
{
    long long least = 1;
    for (const auto &[r, k] : prime_factors(d)) {
        long long i = r;
        for (;; i += r) {
            long long times = 0;
            for (long long power = r; power <= i; power *= r)
                times += i / power;
            if (times >= k)
                break;
        }
        least = std::max(least, i);
    }
    return least;
}

// ---- The page: columns, and what is kept from one event to the next ---------

// The state of the run being explained: the table's column widths and
// whether its header is out, and counts kept across the steps. One for each
// explanation: the web edition writes the English and the French one from
// the same events, side by side.
struct Page {
    std::vector<int> widths;
    std::vector<const char *> labels;
    bool header_written = false;
    long long gcd_one = 0, gcd_n = 0; // random bases that told nothing
    bool met_n = false;               // the last gcd was n itself
    // The last step, for the conclusion: its index (or its prime power q),
    // and one number of it (the base drawn, the tortoise, the saved index).
    long long last = 0, kept = 0;
};

static Page &page_of(const Explainer &x)
{
    static std::map<const Explainer *, Page> pages;
    return pages[&x];
}

// A new table: its column labels (marked N_, translated here) and the
// digits its largest numbers need; each column is as wide as the wider.
static void start_table(Explainer &x, std::vector<const char *> labels, std::vector<int> digits)
{
    Page &page = page_of(x);
    page.labels = std::move(labels);
    page.widths.clear();
    for (size_t c = 0; c < page.labels.size(); c++)
        page.widths.push_back(std::max(text_width(_(page.labels[c])), digits[c]));
    page.header_written = false;
}

// The cells right-aligned in the table's columns, two blanks apart, with no
// blank at the end.
static const std::string &aligned(const Page &page, std::initializer_list<std::string> cells)
{
    static std::string line;
    line.clear();
    size_t c = 0;
    for (const std::string &cell : cells) {
        int pad = page.widths[c] - text_width(cell) + (c > 0 ? 2 : 0);
        line.append(static_cast<size_t>(std::max(pad, 0)), ' ');
        line += cell;
        c++;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// One row of the table, a step that the reader may stop at; the header
// comes before the first.
static void row(Explainer &x, std::initializer_list<std::string> cells)
{
    Page &page = page_of(x);
    if (!page.header_written) {
        std::vector<std::string> header;
        for (const char *label : page.labels)
            header.push_back(_(label));
        std::string line;
        for (size_t c = 0; c < header.size(); c++)
            line += std::string(static_cast<size_t>(page.widths[c] - text_width(header[c]) + (c > 0 ? 2 : 0)),
                                ' ') +
                    header[c];
        x.line(line);
        page.header_written = true;
    }
    x.line(aligned(page, cells), true);
}

// The columns a number needs, with its sign.
static int digits(long long v)
{
    return static_cast<int>(number(v).size());
}

// "n = 10403 = 103 × 101", with what is known of each factor.
static void split_conclusion(const Event &e, Explainer &x)
{
    long long n = e["n"], f = e["factor"], c = e["cofactor"];
    bool f_prime = is_prime_64(f), c_prime = is_prime_64(c);
    std::string text = format(_("So %1$lld = %2$lld × %3$lld."), n, f, c);
    if (f_prime && c_prime)
        text += " " + std::string(_("Both factors are prime: this is the factorisation of n into primes."));
    else if (f_prime || c_prime)
        text += " " + format(_("%1$lld is prime; %2$lld is not, and can be split further."), f_prime ? f : c,
                             f_prime ? c : f);
    else
        text += " " + std::string(_("Neither factor is prime; each can be split further."));
    x.conclusion(text);
}

// The reason given for a run without a split; "prime" whenever n is prime.
static bool prime_reason(const Event &e)
{
    const Value *reason = e.find("reason");
    return reason != nullptr && reason->type == Value::text && std::string(reason->text_value) == "prime";
}

static void prime_conclusion(const Event &e, Explainer &x)
{
    x.conclusion(format(_("%lld is prime, so no split exists."), e["n"]));
}

// For p - 1 with base 2 and an odd n that is not prime: the order of 2
// modulo each prime of n, with the least exponent of the method (found by
// `least`) that is a multiple of it; `exponent` writes that exponent.
static void orders_of_two(long long n, Explainer &x, long long (*least)(long long), const char *exponent)
{
    for (const auto &[p, k] : prime_factors(n)) {
        if (p == 2)
            continue;
        long long d = order_mod(2, p);
        std::string first = format(exponent, least(d));
        if (is_prime_64(d))
            x.wrapped(format(_("%1$lld: 2 has order %2$lld, first dividing %3$s"), p, d, first.c_str()),
                      "    ", "  ");
        else
            x.wrapped(format(_("%1$lld: 2 has order %2$lld = %3$s, first dividing %4$s"), p, d,
                             factorization(d).c_str(), first.c_str()),
                      "    ", "  ");
    }
}

// A p - 1 run that ended without a split: the last gcd, 1 or n, at the
// exponent `tried`; then, n not being prime, why (the order of 2 modulo
// each odd prime of n, with the least exponent of the method that `least`
// finds and `exponent` writes) and what to try.
static void pminus1_unsplit(const Event &e, Explainer &x, const std::string &tried,
                            long long (*least)(long long), const char *exponent, const char *advice)
{
    Page &page = page_of(x);
    long long n = e["n"], odd = n;
    while (odd % 2 == 0)
        odd /= 2;
    bool prime = prime_reason(e);
    if (page.met_n && prime)
        x.conclusion(format(_("With E = %s, gcd(a − 1, n) = n."), tried.c_str()));
    else if (page.met_n)
        x.conclusion(format(_("With E = %s, gcd(a − 1, n) = n: every prime of n showed at the same step, so "
                              "the gcd does not split n."),
                            tried.c_str()));
    else
        x.conclusion(
            format(_("No factor found with the exponents up to %s: gcd(a − 1, n) stayed 1."), tried.c_str()));
    if (prime) {
        prime_conclusion(e, x);
        return;
    }
    if (n % 2 == 0)
        x.conclusion(format(_("n is even, so 2 divides it: %1$lld = 2 × %2$lld. The base 2 never shows this "
                              "factor, since 2^E − 1 is odd."),
                            n, n / 2));
    if (odd > 1) {
        x.conclusion(
            _("An odd prime p of n shows once E is a multiple of the order of 2 modulo p, a divisor of "
              "p − 1:"));
        orders_of_two(n, x, least, exponent);
        x.conclusion(page.met_n
                         ? _("Try another method: Pollard's rho (rho_floyd) finds a small prime factor "
                             "whatever p − 1 is.")
                         : advice);
    }
}

// The exponents of the two forms of p - 1: lcm(1, ..., q) and i!.
static const char lcm_exponent[] = N_("lcm(1..%lld)"); // French "ppcm"
static const char factorial_exponent[] = "%lld!";

// The conclusion of a p - 1 run that found a factor at the exponent
// written `tried`: the split, then why each prime of the factor showed.
static void pminus1_found(const Event &e, Explainer &x, const std::string &tried,
                          long long (*least)(long long), const char *exponent)
{
    x.conclusion(format(_("With E = %1$s, gcd(a − 1, n) = %2$lld."), tried.c_str(), e["factor"]));
    split_conclusion(e, x);
    x.conclusion(
        _("Each prime p of that factor showed at the first exponent that is a multiple of the order of 2 "
          "modulo p, a divisor of p − 1:"));
    orders_of_two(e["factor"], x, least, exponent);
}

// ---- pminus1_prime_powers ------------------------------------------------------

const Legend pminus1_prime_powers_legend = {
    {N_("first line"), N_("the prime p of each prime power q = p^j up to the bound, in the order of q")},
    {N_("second line"), N_("the same primes, moved to the front of the table: the bases, in order")},
    {"m=", N_("the number n to factor")},
    {N_("first column"), N_("the step k; at step k the first k − 1 bases have been applied")},
    {N_("second column"), N_("a = 2^E mod n, where E is the product of the bases applied, lcm(1..q)")},
    {"pgcd(a-1 n)", N_("gcd(a − 1, n) (French \"plus grand commun diviseur\"); above 1 it is a factor of n")},
    {N_("blanks"), N_("a number printed as blanks is 0")},
};

static void prime_powers_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    x.heading(format(_("Pollard's p − 1 method on n = %1$lld, base 2, with the prime powers up to %2$lld"),
                     e["n"], e["bound"]));
    x.paragraph(
        _("If p is a prime factor of n and the exponent E is a multiple of p − 1, Fermat's little "
          "theorem gives 2^E ≡ 1 (mod p), so p divides gcd(2^E − 1, n). The exponent is built one prime "
          "power at a time: for each prime power q = p^j up to the bound, in increasing order, the power "
          "is raised to the prime p, so that once q is applied the exponent is lcm(1..q), the least "
          "common multiple of 1 to q (French \"ppmc\")."));
    x.legend(pminus1_prime_powers_legend);
    x.paragraph(format(_("The prime powers up to %lld, each with its prime (a power q = p^j written q=p^j):"),
                       e["bound"]));
}

static void prime_power_item(const Event &e, Explainer &x)
{
    long long q = e["q"], p = e["prime"];
    int j = 0;
    for (long long m = q; m > 1; m /= p)
        j++;
    x.cell(j == 1 ? number(q) : number(q) + "=" + power_of(p, j));
}

static void prime_powers_table(const Event &e, Explainer &x)
{
    x.paragraph(
        format(_("The powers of 2 modulo %lld; at step k the power a is raised to the prime p of the next "
                 "prime power q, and the exponent becomes E = lcm(1..q):"),
               e["n"]));
    long long n = e["n"], bound = x.run["bound"];
    start_table(x, {N_("k"), N_("p"), N_("E"), N_("a = 2^E mod n"), N_("gcd(a − 1, n)")},
        {digits(bound), digits(bound), text_width(format(_(lcm_exponent), bound)), digits(n), digits(n)});
}

static void first_power(const Event &e, Explainer &x)
{
    row(x, {number(e["k"]), "", "1", number(e["power"]), ""});
}

static void prime_power_step(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    page.last = e["prime_power"];
    page.met_n = e["gcd"] == e["n"];
    row(x, {number(e["k"]), number(e["prime"]), format(_(lcm_exponent), e["prime_power"]), number(e["power"]),
            number(e["gcd"])});
}

static void prime_powers_result(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    // Without a split the exponents went up to lcm(1, ..., bound), unless
    // the gcd became n before.
    if (e.find("cofactor") != nullptr)
        pminus1_found(e, x, format(_(lcm_exponent), page.last), least_lcm_bound, _(lcm_exponent));
    else
        pminus1_unsplit(
            e, x, format(_(lcm_exponent), page.met_n ? page.last : x.run["bound"]), least_lcm_bound,
            _(lcm_exponent),
            _("Try a larger bound, or another method: Pollard's rho (rho_floyd) finds a small prime "
              "factor whatever p − 1 is."));
}

// ---- pminus1_factorial ---------------------------------------------------------

const Legend pminus1_factorial_legend = {
    {"m=", N_("the number n to factor")},
    {"2 puissance E = a",
     N_("2 to the power E (French \"puissance\") is a modulo n, with E = i! at line i; a "
        "multiple of n is shown as n")},
    {"pgcd(a-1 n)", N_("gcd(a − 1, n) (French \"plus grand commun diviseur\"); above 1 it is a factor of n")},
    {N_("blanks"), N_("a number printed as blanks is 0")},
};

static void factorial_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    x.heading(format(_("Pollard's p − 1 method on n = %1$lld, base 2, with the exponents 1!, 2!, …, %2$lld!"),
                     e["n"], e["last_step"]));
    x.paragraph(
        _("If p is a prime factor of n and the exponent E is a multiple of p − 1, Fermat's little "
          "theorem gives 2^E ≡ 1 (mod p), so p divides gcd(2^E − 1, n). The exponents i! = 1 · 2 · … · i "
          "grow by a factor i at each step: 2^i! is the previous power raised to i. A prime p of n shows "
          "at the first i for which i! is a multiple of the order of 2 modulo p, a divisor of p − 1."));
    x.legend(pminus1_factorial_legend);
    long long last = e["last_step"], factorial = 1;
    for (long long i = 2; i <= last && factorial < INT64_MAX / i; i++)
        factorial *= i;
    start_table(x, {N_("i"), N_("E = i!"), N_("a = 2^E mod n"), N_("gcd(a − 1, n)")},
                {digits(last), digits(factorial), digits(e["n"]), digits(e["n"])});
}

static void factorial_step(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    page.last = e["i"];
    page.met_n = e["gcd"] == e["n"];
    row(x, {number(e["i"]), number(e["exponent"]), number(e["power"] % e["n"]), number(e["gcd"])});
}

static void factorial_result(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    if (e.find("cofactor") != nullptr)
        pminus1_found(e, x, format(factorial_exponent, page.last), least_factorial, factorial_exponent);
    else
        pminus1_unsplit(
            e, x, format(factorial_exponent, page.last), least_factorial, factorial_exponent,
            _("Try larger exponents (pminus1_prime_powers takes a bound of your choice), or another "
              "method: Pollard's rho (rho_floyd) finds a small prime factor whatever p − 1 is."));
}

// ---- pminus1_random_base -------------------------------------------------------

const Legend pminus1_random_base_legend = {
    {"ppmc P", N_("the exponent P: lcm(1..40), the least common multiple (French \"plus petit commun "
                  "multiple\"), kept to its low 32 bits")},
    {"pgcd(x-1 n)", N_("for a base b drawn at random, x = b^P mod n, and gcd(x − 1, n) (French \"plus grand "
                       "commun diviseur\"); strictly between 1 and n it is a factor, and the draws stop")},
    {N_("blanks"), N_("a number printed as blanks is 0")},
    {"aucun facteur", N_("\"no factor\": the draws ran out")},
};

static void random_base_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    long long n = e["n"], P = e["exponent"], bound = e["bound"];
    x.heading(format(_("Pollard's p − 1 method on n = %1$lld with one exponent P and random bases b (seed "
                       "%2$lld)"),
                     n, e["seed"]));
    // lcm(1, ..., bound) in full, when it fits 64 bits.
    uint64_t lcm = 1;
    bool fits = true;
    for (uint64_t k = 2; k <= static_cast<uint64_t>(bound) && fits; k++) {
        uint64_t a = lcm, b = k;
        while (b != 0) {
            uint64_t t = a % b;
            a = b;
            b = t;
        }
        fits = !__builtin_mul_overflow(lcm / a, k, &lcm);
    }
    std::string whole = format(_(lcm_exponent), bound);
    if (fits)
        whole += " = " + std::to_string(lcm);
    x.paragraph(
        format(_("P is the product of the prime-power bases up to %1$lld, that is %2$s, kept to its low "
                 "32 bits: P = %3$lld = %4$s."),
               bound, whole.c_str(), P, P > 1 ? factorization(P).c_str() : number(P).c_str()));
    x.paragraph(
        format(_("For a prime p of n with p − 1 dividing P, Fermat's little theorem gives b^P ≡ 1 (mod p) "
                 "for every base b that p does not divide, so p divides gcd(b^P − 1, n). A gcd of 1 or of "
                 "n itself tells nothing, and another base is drawn, at most %lld times."),
               e["max_draws"]));
    x.legend(pminus1_random_base_legend);
    start_table(x, {N_("attempt"), N_("base b"), N_("b^P mod n"), N_("gcd(b^P − 1, n)")},
                {digits(e["max_draws"]), digits(n), digits(n), digits(n)});
}

static void random_base_draw(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    long long g = e["gcd"], n = e["n"];
    page.gcd_one += g == 1;
    page.gcd_n += g == n;
    page.last++; // the attempt
    page.kept = e["base"];
    row(x, {number(page.last), number(e["base"]), number(e["power_minus_one"] + 1), number(g)});
}

static void random_base_result(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    long long n = e["n"];
    if (e.find("cofactor") != nullptr) {
        long long f = e["factor"], b = page.kept;
        x.conclusion(format(_("Attempt %1$lld drew the base %2$lld: gcd(%2$lld^P − 1, n) = %3$lld."),
                            page.last, b, f));
        split_conclusion(e, x);
        // A prime of n divides the gcd exactly when b^P = 1 modulo it.
        std::string on, off;
        for (const auto &[p, k] : prime_factors(n))
            (f % p == 0 ? on : off) += (f % p == 0 ? on : off).empty() ? number(p) : ", " + number(p);
        x.conclusion(off.empty() ? format(_("%1$lld^P ≡ 1 modulo each prime of n: %2$s."), b, on.c_str())
                                 : format(_("%1$lld^P ≡ 1 modulo the primes %2$s of n, but not modulo %3$s."),
                                          b, on.c_str(), off.c_str()));
        return;
    }
    x.conclusion(
        format(_("No proper factor in %1$lld attempts: %2$lld bases gave the gcd 1 and %3$lld gave n "
                 "itself."),
               page.last, page.gcd_one, page.gcd_n));
    if (prime_reason(e))
        x.conclusion(format(_("%lld is prime, so no split exists: gcd(b^P − 1, n) can only be 1 or n."), n));
    else
        x.conclusion(
            _("For each base drawn, b^P ≡ 1 held modulo every prime of n or modulo none. Try another "
              "seed, or another method: Pollard's rho (rho_floyd)."));
}

// ---- rho_floyd -----------------------------------------------------------------

const Legend rho_floyd_legend = {
    {N_("first column"), N_("i, the step")},
    {N_("second column"), N_("x(i), the tortoise: the walk x → x² + 1 (mod n) after i steps")},
    {N_("third column"), N_("x(2i), the hare, two steps at a time")},
    {N_("last line"), N_("gcd(x(2i) − x(i), n), the factor found")},
    {"Rate", N_("\"missed\" (French \"raté\"): the gcd is n itself, the tortoise and the hare met modulo n")},
};

// The period T and the entry index e of x -> x*x + 1 modulo m from x(0) =
// x0: Floyd's meeting, one more lap for T, then two walkers T apart.
static std::pair<long long, long long> rho_cycle(long long x0, long long m)
{
    auto next = [m](long long v) { return (v * v + 1) % m; };
    long long t = next(x0 % m), h = next(next(x0 % m));
    while (t != h) {
        t = next(t);
        h = next(next(h));
    }
    long long period = 1;
    for (long long v = next(t); v != t; v = next(v))
        period++;
    long long a = x0 % m, b = x0 % m, entry = 0;
    for (long long j = 0; j < period; j++)
        b = next(b);
    for (; a != b; entry++) {
        a = next(a);
        b = next(b);
    }
    return {period, entry};
}

static void rho_floyd_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    long long n = e["n"];
    x.heading(format(_("Pollard's rho method on n = %1$lld with x → x² + 1 (mod %1$lld), from x0 = %2$lld; "
                       "Floyd's tortoise and hare"),
                     n, e["x0"]));
    x.paragraph(
        _("Modulo a prime p dividing n, the walk takes at most p values, so it soon runs into a cycle. The "
          "tortoise x(i) takes one step at a time and the hare x(2i) two; once i is a multiple of the "
          "period modulo p, from the entry of the cycle on, x(i) ≡ x(2i) (mod p), so p divides "
          "x(2i) − x(i) and its gcd with n. A gcd strictly between 1 and n is a factor; a gcd of n "
          "means that the walks met modulo n itself."));
    x.legend(rho_floyd_legend);
    start_table(x, {N_("i"), N_("x(i)"), N_("x(2i)"), N_("x(2i) − x(i)"), N_("gcd")},
                {digits(e["max_steps"]), digits(n), digits(n), digits(-n), digits(n)});
}

static void rho_floyd_step(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    page.last = e["i"];
    page.kept = e["tortoise"];
    row(x, {number(e["i"]), number(e["tortoise"]), number(e["hare"]), number(e["difference"]),
            number(e["gcd"])});
}

static void rho_floyd_met(const Event &, Explainer &x)
{
    x.memory["walks_met"] = 1;
}

static void rho_floyd_result(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    long long n = e["n"], i = page.last;
    if (e.find("cofactor") != nullptr) {
        long long f = e["factor"];
        x.conclusion(format(_("At i = %1$lld, gcd(x(%2$lld) − x(%1$lld), n) = %3$lld."), i, 2 * i, f));
        split_conclusion(e, x);
        auto [period, entry] = rho_cycle(x.run["x0"], f);
        x.conclusion(
            format(_("Modulo %1$lld the walk enters its cycle at x(%2$lld) and has period %3$lld: the "
                     "tortoise and the hare first agree modulo %1$lld at i = %4$lld, the first multiple "
                     "of the period from the entry on."),
                   f, entry, period, i));
        return;
    }
    if (x.memory.count("walks_met") != 0)
        x.conclusion(format(_("At i = %1$lld, x(%1$lld) = x(%2$lld) = %3$lld: the tortoise and the hare met "
                              "modulo n itself, so the gcd is n (\"Rate\")."),
                            i, 2 * i, page.kept));
    else
        x.conclusion(format(_("No factor within %lld steps: the gcd stayed 1."), i));
    if (prime_reason(e))
        x.conclusion(
            format(_("%lld is prime, so no split exists: the walks can only meet modulo n itself."), n));
    else
        x.conclusion(_("This start fails; try another start x0."));
}

// ---- rho_factor_16019 ----------------------------------------------------------

const Legend rho_factor_16019_legend = {
    {"i : x", N_("the index i and x(i), the walk x → x² + 1 (mod n) from x(1) = 1")},
    {"**** d ****", N_("the divisor d = gcd(x(i) − x(j), n) found, where x(j) is the value saved at the last "
                       "power of two j below i")},
    {"(i : x)", N_("the same walk modulo p")},
    {"T=", N_("the period of the walk modulo p, found as i − j at the first match")},
    {"Indice d'entrée", N_("the entry index: the first index of the cycle")},
};

static void rho_16019_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    long long n = e["n"];
    x.heading(format(_("Pollard's rho method on n = %1$lld with x → x² + 1 (mod %1$lld), from x(1) = 1; each "
                       "x(i) compared with x(j), saved at the last power of two j below i"),
                     n));
    x.paragraph(
        format(_("The walk keeps x(j) for j = 1, 2, 4, 8, … and compares each later x(i) with the last one "
                 "kept, through gcd(|x(i) − x(j)|, n). Modulo a prime p of n the walk falls into a cycle; "
                 "once j has passed its entry and i − j is its period, x(i) ≡ x(j) (mod p), and p divides "
                 "the gcd. The search stops at i = %lld."),
               e["max_index"] + 1));
    x.legend(rho_factor_16019_legend);
    start_table(x, {N_("i"), N_("x(i)"), N_("j"), N_("x(j)"), N_("|x(i) − x(j)|"), N_("gcd")},
        {digits(e["max_index"] + 1), digits(n), digits(e["max_index"]), digits(n), digits(n), digits(n)});
}

static void saved_power_step(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    page.last = e["i"];
    page.kept = e["saved_index"];
    row(x, {number(e["i"]), number(e["value"]), number(e["saved_index"]), number(e["saved"]),
            number(e["difference"]), number(e["gcd"])});
}

static void saved_power_factor(const Event &e, Explainer &x)
{
    x.line(format(_("gcd = %lld: a divisor of n."), e["factor"]));
}

static void orbit_run(const Event &e, Explainer &x)
{
    Page &page = page_of(x);
    x.memory["found_i"] = page.last;
    x.memory["found_j"] = page.kept;
    x.end_block();
    x.write_line("");
    x.heading(format(_("The same walk modulo p = %lld: its period T and its entry index"), e["p"]));
    x.paragraph(
        _("Modulo p the walk takes at most p values, so it falls into a cycle. The values saved at the "
          "powers of two are compared as before; the first match x(i) = x(j) gives the period T = i − j, "
          "and the entry index is then the first e with x(e) = x(e + T)."));
    long long p = e["p"];
    start_table(x, {N_("i"), N_("x(i) mod p"), N_("j"), N_("x(j) mod p")},
                {digits(4 * p), digits(p), digits(4 * p), digits(p)});
}

static void orbit_step(const Event &e, Explainer &x)
{
    row(x, {number(e["i"]), number(e["value"]), number(e["saved_index"]), number(e["saved"])});
}

static void orbit_period(const Event &e, Explainer &x)
{
    x.line(format(_("x(%1$lld) = x(%2$lld): the period is T = %1$lld − %2$lld = %3$lld."), e["i"],
                  e["saved_index"], e["period"]));
}

static void rho_16019_result(const Event &e, Explainer &x)
{
    long long n = e["n"];
    bool studied = e.find("period")->type == Value::integer;
    long long p = e["p"], period = e["period"], entry = e["entry"];
    bool explained = false; // the period has been related to the match
    if (e.find("cofactor") != nullptr) {
        long long f = e["factor"], i = x.memory["found_i"], j = x.memory["found_j"];
        x.conclusion(format(_("At i = %1$lld, gcd(|x(%1$lld) − x(%2$lld)|, n) = %3$lld."), i, j, f));
        split_conclusion(e, x);
        // p divides n and x(i) - x(j): the walk modulo p repeats from x(j) on.
        if (studied && f % p == 0) {
            x.conclusion(
                format(_("Modulo %1$lld the walk has period %2$lld and enters its cycle at x(%3$lld): "
                         "x(%4$lld) ≡ x(%5$lld) (mod %1$lld) because %4$lld − %5$lld = %6$lld is a "
                         "multiple of the period and %5$lld ≥ %3$lld."),
                       p, period, entry, i, j, i - j));
            explained = true;
        }
    } else {
        x.conclusion(format(_("No divisor found up to i = %lld."), x.run["max_index"] + 1));
        if (prime_reason(e))
            x.conclusion(format(_("%lld is prime, so no split exists."), n));
        else
            x.conclusion(_("Try another start: rho_floyd takes one of your choice."));
    }
    if (studied && !explained)
        x.conclusion(
            format(_("Modulo %1$lld the walk from x(1) = 1 has period %2$lld and enters its cycle at "
                     "x(%3$lld)."),
                   p, period, entry));
}

// ---- difference_of_squares_walk ------------------------------------------------

const Legend difference_of_squares_walk_legend = {
    {"(x y)",
     N_("a position of the walk: y grows by 1 while x² − y² is above N, x grows by 1 while it is below")},
    {"***(a b)", N_("the factors a = x + y and b = x − y, where x² − y² = N, so that N = a · b")},
    {"aucun facteur en", N_("\"no factor in\": the walk stopped after that many steps")},
};

static void fermat_run(const Event &e, Explainer &x)
{
    page_of(x) = {};
    long long N = e["n"];
    x.heading(format(_("Fermat's method on N = %lld: x² − y² = N gives N = (x + y)(x − y)"), N));
    x.paragraph(
        format(_("The walk starts at x = ⌈√N⌉ = %lld and y = 0, and keeps the remainder r = x² − y² − N: "
                 "while r > 0, y grows by 1 (r falls by 2y + 1); while r < 0, x grows by 1 (r grows by "
                 "2x + 1); at r = 0 it stops. It meets first the split N = a · b, a ≥ b, with b closest to "
                 "√N, at x = (a + b)/2 and y = (a − b)/2; for a prime N that is N · 1, after about N/2 "
                 "steps. It gives up after %lld steps."),
               e["x0"], e["max_steps"]));
    x.legend(difference_of_squares_walk_legend);
    long long steps = e["max_steps"], last_x = e["x0"] + steps;
    start_table(x, {N_("step"), N_("x"), N_("y"), N_("r = x² − y² − N")},
                {digits(steps), digits(last_x), digits(steps), digits(-2 * last_x - 1)});
}

static void fermat_position(const Event &e, Explainer &x)
{
    row(x, {number(e["step"]), number(e["x"]), number(e["y"]), number(e["remainder"])});
}

static void fermat_result(const Event &e, Explainer &x)
{
    long long N = e["n"];
    if (e.find("cofactor") != nullptr) {
        long long a = e["factor"], b = e["cofactor"], px = (a + b) / 2, py = (a - b) / 2;
        x.conclusion(format(
            _("At x = %1$lld, y = %2$lld: x² − y² = N, so N = (%1$lld + %2$lld)(%1$lld − %2$lld)."), px, py));
        split_conclusion(e, x);
        return;
    }
    if (prime_reason(e)) {
        if (x.memory.count("walk_exhausted") == 0)
            x.conclusion(
                format(_("At x = %1$lld, y = %2$lld the walk reached x − y = 1: N = %3$lld × 1, the trivial "
                         "split, and no other came before it."),
                       (N + 1) / 2, (N - 1) / 2, N));
        else
            x.conclusion(
                format(_("No pair within %lld steps; the walk would end at x − y = 1, after about N/2 "
                         "steps."),
                       x.run["max_steps"]));
        x.conclusion(format(_("%lld is prime, so no split exists."), N));
        return;
    }
    x.conclusion(
        format(_("No pair within %lld steps: the factors of N lie far from √N, where Fermat's walk is "
                 "slow. Try a method that finds small factors first, such as Pollard's rho."),
               x.run["max_steps"]));
}

static void fermat_exhausted(const Event &, Explainer &x)
{
    x.memory["walk_exhausted"] = 1;
}

// ---- The table -----------------------------------------------------------------

const ExplainTable factoring_explain = {
    {EventKind::run, "pminus1_prime_powers", prime_powers_run},
    {EventKind::item, "prime_power", prime_power_item},
    {EventKind::phase, "bases", nullptr},
    {EventKind::item, "base", nullptr},
    {EventKind::phase, "powers", prime_powers_table},
    {EventKind::step, "first_power", first_power},
    {EventKind::step, "prime_power_step", prime_power_step},
    {EventKind::result, "pminus1_prime_powers", prime_powers_result},

    {EventKind::run, "pminus1_factorial", factorial_run},
    {EventKind::step, "factorial_step", factorial_step},
    {EventKind::result, "pminus1_factorial", factorial_result},

    {EventKind::run, "pminus1_random_base", random_base_run},
    {EventKind::step, "draw", random_base_draw},
    {EventKind::step, "draws_exhausted", nullptr},
    {EventKind::result, "pminus1_random_base", random_base_result},

    {EventKind::run, "rho_floyd", rho_floyd_run},
    {EventKind::step, "floyd", rho_floyd_step},
    {EventKind::step, "floyd_factor", nullptr},
    {EventKind::step, "walks_met", rho_floyd_met},
    {EventKind::result, "rho_floyd", rho_floyd_result},

    {EventKind::run, "rho_factor_16019", rho_16019_run},
    {EventKind::step, "saved_power", saved_power_step},
    {EventKind::step, "saved_power_factor", saved_power_factor},
    {EventKind::phase, "orbit_mod_p", orbit_run},
    {EventKind::step, "orbit", orbit_step},
    {EventKind::step, "orbit_period", orbit_period},
    {EventKind::step, "orbit_entry", nullptr},
    {EventKind::result, "rho_factor_16019", rho_16019_result},

    {EventKind::run, "difference_of_squares_walk", fermat_run},
    {EventKind::step, "position", fermat_position},
    {EventKind::step, "squares_found", nullptr},
    {EventKind::step, "walk_exhausted", fermat_exhausted},
    {EventKind::result, "difference_of_squares_walk", fermat_result},
};
