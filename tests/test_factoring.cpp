// The factoring programs: their built-in traces, and runs on other numbers
// compared with references written here, by plain multiplication, 128-bit
// powers (power_reference), std::gcd, divisor search and the C library's
// srand and rand. The methods are also called in process: their classic
// trace from chosen seeds, and their result on ranges of numbers. Then the
// other views: every number of the trace among the JSON events, and the
// explanation's size, width and conclusion in English and French.
#include "arith/arith.hpp"
#include "harness.hpp"
#include "programs/factoring/factoring.hpp"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

// The classic trace of a method called in process.
static std::string classic_trace(const std::function<void(Steps &)> &method)
{
    std::string text;
    ClassicView view({&factoring_classic},
                     {[&](const char *bytes, size_t n) { text.append(bytes, n); }, nullptr});
    method(view);
    view.flush();
    return text;
}

// A number right-aligned in a field of the given width, 0 shown as blanks.
static std::string field(long long value, size_t width)
{
    std::string digits = value == 0 ? "" : std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits;
}

// Splits a trace at its newlines; the text before the first one is element 0.
static std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines(1);
    for (char c : text)
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    return lines;
}

static bool proper(long long g, long long n)
{
    return g > 1 && g < n;
}

// gcd(x - 1, n) for a residue x, taking x - 1 modulo n: 1 for x = 0.
static long long gcd_of_residue_minus_1(long long x, long long n)
{
    return std::gcd((x + n - 1) % n, n);
}

// ---- Pollard p-1 with prime-power and factorial exponents -------------------

TEST(PminusOnePrimePowers, FindsTheFactor103AtStep12)
{
    const std::string bases = "2 3 2 5 7 2 3 11 13 2 17 19 23 5 3 29 31 2 37 41 43 47 7 53 59 61 2 67 71 73 "
                              "79 3 83 89 97 ";
    const std::string expected = bases + "\n" + bases +
                                 "  \n"
                                 " *** m=10403 ***\n"
                                 "\n"
                                 " 1      2 \n"
                                 " 2      4    pgcd(    3 10403)  =      1\n"
                                 " 3     64    pgcd(   63 10403)  =      1\n"
                                 " 4   4096    pgcd( 4095 10403)  =      1\n"
                                 " 5   4632    pgcd( 4631 10403)  =      1\n"
                                 " 6    903    pgcd(  902 10403)  =      1\n"
                                 " 7   3975    pgcd( 3974 10403)  =      1\n"
                                 " 8   6458    pgcd( 6457 10403)  =      1\n"
                                 " 9   6256    pgcd( 6255 10403)  =      1\n"
                                 "10   6349    pgcd( 6348 10403)  =      1\n"
                                 "11   8579    pgcd( 8578 10403)  =      1\n"
                                 "12   7005    pgcd( 7004 10403)  =    103";
    ProgramRun run = run_to_end(PROGRAM(pminus1_prime_powers), "\n");
    EXPECT_TRANSCRIPT(expected, run.out);
}

// Rows: n and the bound. 88303 = 227 * 389 with 388 = 4 * 97: 389 shows
// only when the last base up to 100, 97, is applied (226 = 2 * 113 keeps 227
// hidden). 1024 is a power of the base 2, whose powers fall to 0 (gcd 1). For
// 2^31 - 1 the order of 2 is 31: the power returns to 1 and the gcd is n.
TEST(PminusOnePrimePowers, OtherNumbersStepByStep)
{
    struct Row {
        long n, bound;
    } rows[] = {{8051, 50}, {88303, 100}, {1024, 100}, {2147483647, 100}, {10403, 2}};
    for (const Row &row : rows) {
        std::vector<long> bases;
        for (long q = 2; q <= row.bound; q++)
            if (long p = prime_of_power(q))
                bases.push_back(p);
        std::string list;
        for (long b : bases)
            list += std::to_string(b) + " ";
        std::string expected =
            list + "\n" + list + "  \n *** m=" + std::to_string(row.n) + " ***\n\n 1      2 ";
        uint64_t a = 2;
        for (size_t k = 0; k < bases.size(); k++) {
            a = power_reference(a, bases[k], row.n);
            long long g = gcd_of_residue_minus_1(a, row.n);
            expected += "\n" + field(k + 2, 2) + "  " + field(a, 5) + "    pgcd(" +
                        field(static_cast<long long>(a) - 1, 5) + " " + field(row.n, 5) +
                        ")  =" + field(g, 7);
            if (g > 1)
                break;
        }
        ProgramRun run = run_to_end(PROGRAM(pminus1_prime_powers), "\n",
                                    {std::to_string(row.n), std::to_string(row.bound)});
        EXPECT_TRANSCRIPT(expected, run.out) << row.n << " " << row.bound;
    }
}

TEST(PminusOneFactorial, FindsTheFactor101AtTenFactorial)
{
    const std::string expected = "m=10403\n"
                                 "***********\n"
                                 "\n"
                                 "2 puissance          1  =       2         pgcd(     1  10403)  =       1\n"
                                 "2 puissance          2  =       4         pgcd(     3  10403)  =       1\n"
                                 "2 puissance          6  =      64         pgcd(    63  10403)  =       1\n"
                                 "2 puissance         24  =    7580         pgcd(  7579  10403)  =       1\n"
                                 "2 puissance        120  =    4438         pgcd(  4437  10403)  =       1\n"
                                 "2 puissance        720  =    6862         pgcd(  6861  10403)  =       1\n"
                                 "2 puissance       5040  =     137         pgcd(   136  10403)  =       1\n"
                                 "2 puissance      40320  =     196         pgcd(   195  10403)  =       1\n"
                                 "2 puissance     362880  =    3619         pgcd(  3618  10403)  =       1\n"
                                 "2 puissance    3628800  =    9798         pgcd(  9797  10403)  =     101";
    ProgramRun run = run_to_end(PROGRAM(pminus1_factorial), "\n");
    EXPECT_TRANSCRIPT(expected, run.out);
}

// 2773 = 47 * 59, where 2 has the orders 23 and 58: no i! up to 13! is a
// multiple of either, so every gcd is 1 and all thirteen steps are shown,
// 13! = 6227020800 in full. 8051 = 83 * 97 gives 97 at 6! (the order of 2 is
// 48). A multiple of 1024 stands as 1024 itself, the power kept in 1 .. m.
// Near 2^31 the products of two powers need 62 bits.
TEST(PminusOneFactorial, OtherModuliStepByStep)
{
    for (long m : {2773L, 8051L, 1024L, 2147483647L}) {
        std::string expected = "m=" + std::to_string(m) + "\n***********\n";
        uint64_t factorial = 1;
        for (int i = 1; i <= 13; i++) {
            factorial *= i;
            long long a = power_reference(2, factorial, m);
            if (a == 0)
                a = m;
            long long g = std::gcd(a - 1, static_cast<long long>(m));
            expected += "\n2 puissance  " + field(factorial, 9) + "  =  " + field(a, 6) + "         pgcd(" +
                        field(a - 1, 6) + " " + field(m, 6) + ")  =" + field(g, 8);
            if (g > 1)
                break;
        }
        ProgramRun run = run_to_end(PROGRAM(pminus1_factorial), "\n", {std::to_string(m)});
        EXPECT_TRANSCRIPT(expected, run.out) << "m = " << m;
    }
}

// ---- Pollard p-1 with random bases -----------------------------------------

const int n_p1 = 32623; // 17 * 19 * 101

// The program's exponent, formed once.
static int program_exponent()
{
    static const int P = ppmc_exponent(40);
    return P;
}

// lcm(1, ..., 40) in 64 bits is 5342931457063200; the exponent keeps its low
// 32 bits.
static uint32_t exponent_reference()
{
    uint64_t l = 1;
    for (uint64_t k = 2; k <= 40; k++)
        l = std::lcm(l, k);
    return static_cast<uint32_t>(l);
}

static std::string p1_line(long long x, long long n)
{
    return "\n   pgcd(" + field(x - 1, 5) + " " + field(n, 5) +
           ")  =" + field(gcd_of_residue_minus_1(x, n), 7);
}

// The draws after srand(seed): bases rand() % (n - 2) + 1 until one gives a
// proper factor, or max_draws of them.
static std::string p1_draws_reference(long n, unsigned seed, int max_draws = 1000000)
{
    uint32_t P = exponent_reference();
    srand(seed);
    std::string text;
    for (int draw = 0; draw < max_draws; draw++) {
        long long x = power_reference(rand() % (n - 2) + 1, P, n);
        text += p1_line(x, n);
        if (proper(gcd_of_residue_minus_1(x, n), n))
            return text;
    }
    return text + "\n   aucun facteur en " + std::to_string(max_draws) + " tirages";
}

TEST(PminusOneRandomBase, ExponentIsTheLcmCutTo32Bits)
{
    EXPECT_EQ(730773792, program_exponent());
    EXPECT_EQ(exponent_reference(), static_cast<uint32_t>(program_exponent()));
}

// Rows: a base, its line (where it is known by heart) and its gcd. A gcd of
// 323 ends the run; 32623 (from 10^P = 1) tells nothing.
TEST(PminusOneRandomBase, ChosenBases)
{
    struct Row {
        int base;
        const char *line; // nullptr: the line of the reference
        int gcd;
    } rows[] = {
        {2, "\n   pgcd( 5814 32623)  =    323", 323},
        {3, nullptr, 323},
        {5, nullptr, 323},
        {10, "\n   pgcd(      32623)  =  32623", 32623}, // 10^P = 1: x - 1 prints as blanks
    };
    for (const Row &row : rows) {
        int g = 0;
        std::string line =
            classic_trace([&](Steps &out) { g = pminus1_attempt(n_p1, row.base, program_exponent(), out); });
        EXPECT_EQ(row.gcd, g) << "base " << row.base;
        std::string expected =
            row.line ? row.line : p1_line(power_reference(row.base, 730773792u, n_p1), n_p1);
        EXPECT_TRANSCRIPT(expected, line) << "base " << row.base;
    }
}

TEST(PminusOneRandomBase, GcdCountsOverAllBases)
{
    std::map<int, int> counts;
    Recorder ignored;
    for (int base = 1; base <= n_p1 - 2; base++)
        counts[pminus1_attempt(n_p1, base, program_exponent(), ignored)]++;
    const std::map<int, int> expected = {{323, 27936}, {19, 1746}, {17, 1552},    {1919, 72},
                                         {1717, 64},   {101, 4},   {32623, 1151}, {1, 96}};
    EXPECT_EQ(expected, counts);
}

// The draw loop from chosen seeds: seed 1, and the first seeds whose first
// base gives the gcd 1 and the gcd n, which tell nothing: the loop must draw
// again.
static unsigned first_seed_with_gcd(int wanted)
{
    for (unsigned seed = 1;; seed++) {
        srand(seed);
        long long x = power_reference(rand() % (n_p1 - 2) + 1, 730773792u, n_p1);
        if (gcd_of_residue_minus_1(x, n_p1) == wanted)
            return seed;
    }
}

TEST(PminusOneRandomBase, DrawsAgainUntilAProperFactor)
{
    unsigned gcd_1_seed = first_seed_with_gcd(1), gcd_n_seed = first_seed_with_gcd(n_p1);
    for (unsigned seed : {1u, gcd_1_seed, gcd_n_seed}) {
        std::string expected = "\n    ppmc P = 730773792" + p1_draws_reference(n_p1, seed);
        int g = 0;
        std::string out =
            classic_trace([&](Steps &steps) { g = pminus1_random_base(n_p1, seed, 40, 1000000, steps); });
        EXPECT_TRANSCRIPT(expected, out) << "seed " << seed;
        EXPECT_TRUE(proper(g, n_p1)) << "seed " << seed << ": " << g;
        EXPECT_TRUE(seed == 1 || lines_of(out).size() >= 4) << "seed " << seed << " draws once";
    }
}

// A prime gives only the gcds 1 and n: the draws stop at their limit, with a
// line that says no factor came. For 4 the base 2 has the power 0.
TEST(PminusOneRandomBase, NoFactorWithinTheDraws)
{
    for (long n : {1000003L, 4L}) {
        int g = -1;
        std::string out = classic_trace([&](Steps &steps) { g = pminus1_random_base(n, 7, 40, 40, steps); });
        EXPECT_EQ(0, g);
        EXPECT_TRANSCRIPT("\n    ppmc P = 730773792" + p1_draws_reference(n, 7, 40), out) << "n = " << n;
    }
}

// The program with n and the seed given; a seed from 2^31 on is taken as a
// signed word, as srand takes it. 2147392123 = 10007 * 214589.
TEST(PminusOneRandomBase, ChosenNumbersAndSeeds)
{
    struct Row {
        long n;
        unsigned seed;
    } rows[] = {{10403, 1}, {8051, 1}, {n_p1, 0}, {n_p1, 4294967295u}, {2147392123, 5}};
    for (const Row &row : rows) {
        ProgramRun run =
            run_to_end(PROGRAM(pminus1_random_base), "\n", {std::to_string(row.n), std::to_string(row.seed)});
        EXPECT_TRANSCRIPT("\n    ppmc P = 730773792" + p1_draws_reference(row.n, row.seed), run.out)
            << row.n << " " << row.seed;
    }
}

// The shipped program, seeded from the clock. Every line must be a P-th power
// with its gcd, only the last gcd may be a proper factor, and the whole run
// must be the one that the draws of a second of the run give.
TEST(PminusOneRandomBase, RealRunsAreConsistentAndFollowTheClock)
{
    std::set<long long> powers;
    for (int base = 1; base <= n_p1 - 2; base++)
        powers.insert(power_reference(base, 730773792u, n_p1));
    for (int k = 0; k < 2; k++) {
        time_t before = time(nullptr);
        ProgramRun run = run_to_end(PROGRAM(pminus1_random_base), "\n");
        time_t after = time(nullptr);

        std::vector<std::string> lines = lines_of(run.out);
        ASSERT_GE(lines.size(), 3u) << run.out;
        EXPECT_EQ("", lines[0]);
        EXPECT_EQ("    ppmc P = 730773792", lines[1]);
        for (size_t i = 2; i < lines.size(); i++) {
            const std::string &line = lines[i];
            ASSERT_EQ(30u, line.size()) << "line " << i << ": \"" << line << "\"";
            int x = atoi(line.substr(8, 5).c_str()) + 1; // blanks read as 0
            int g = atoi(line.substr(23, 7).c_str());
            EXPECT_EQ(1u, powers.count(x)) << "line " << i << ": not a P-th power";
            EXPECT_EQ(p1_line(x, n_p1).substr(1), line) << "line " << i;
            EXPECT_EQ(i + 1 == lines.size(), proper(g, n_p1)) << "line " << i << ": gcd " << g;
        }

        bool replayed = false;
        for (time_t second = before; second <= after && !replayed; second++)
            replayed = run.out ==
                       "\n    ppmc P = 730773792" + p1_draws_reference(n_p1, static_cast<unsigned>(second));
        EXPECT_TRUE(replayed) << "no second of the run gives these draws:" << run.out;
    }
}

// ---- Pollard rho with Floyd's cycle detection --------------------------------

const int n_rho = 127199; // 311 * 409

static long long rho_reference(long long x, long long n)
{
    return (x * x + 1) % n;
}

// The edges of the map (0, 1, and n - 1 = -1 whose square plus one is 2), and
// squares on both sides of n; for 2^31 - 1 the squares need 62 bits.
TEST(RhoFloyd, SquarePlusOne)
{
    struct Row {
        int x, m;
    } rows[] = {{0, n_rho},
                {1, n_rho},
                {2, n_rho},
                {356, n_rho},
                {357, n_rho},
                {12345, n_rho},
                {127198, n_rho},
                {0, 2},
                {1, 2},
                {46341, 2147483647},
                {2147483646, 2147483647}};
    for (const Row &row : rows)
        EXPECT_EQ(rho_reference(row.x, row.m), square_plus_one(row.x, row.m)) << row.x << " mod " << row.m;
    EXPECT_EQ(2, square_plus_one(127198, n_rho));
}

// The walk from x0 as the trace shows it, by plain multiplication.
static std::string rho_walk_reference(long long n, long long x0)
{
    std::string text;
    long long t = x0, h = x0;
    for (int i = 1; i <= 10000; i++) {
        t = rho_reference(t, n);
        h = rho_reference(rho_reference(h, n), n);
        text += "\n " + std::to_string(i) + "    " + std::to_string(t) + "  " + std::to_string(h);
        long long d = std::gcd(h - t, n);
        if (proper(d, n))
            return text + "\n\n " + std::to_string(d);
        if (d == n)
            return text + "Rate";
    }
    return text;
}

TEST(RhoFloyd, FromTheStart12345Finds311)
{
    const std::string expected = "\n"
                                 " 1    14624  39858\n"
                                 " 2    39858  117106\n"
                                 " 3    71854  82278\n"
                                 " 4    117106  117841\n"
                                 " 5    109450  98411\n"
                                 " 6    82278  11709\n"
                                 " 7    11306  71895\n"
                                 " 8    117841  64929\n"
                                 " 9    59253  56941\n"
                                 " 10    98411  72909\n"
                                 "\n"
                                 " 311";
    ProgramRun run = run_to_end(PROGRAM(rho_floyd), "\n", {"127199", "12345"});
    EXPECT_TRANSCRIPT(expected, run.out);
}

// 8051 = 83 * 97 from 2 gives 97; the prime 10007 ends in "Rate" when the
// walks meet; 2^31 - 1, prime too, stops silently after 10000 steps;
// 2147392123 = 10007 * 214589 needs 62-bit squares.
TEST(RhoFloyd, ChosenNumbersAndStarts)
{
    struct Row {
        long long n, x0;
    } rows[] = {{8051, 2}, {10007, 2}, {2147483647, 0}, {2147392123, 2147392122}, {4, 3}};
    for (const Row &row : rows) {
        ProgramRun run =
            run_to_end(PROGRAM(rho_floyd), "\n", {std::to_string(row.n), std::to_string(row.x0)});
        EXPECT_TRANSCRIPT(rho_walk_reference(row.n, row.x0), run.out) << row.n << " from " << row.x0;
    }
}

// The shipped program from its clock seed. Line by line: the tortoise takes
// one step of the map and the hare two, every gcd before the last is 1, and
// the run ends on the factor (or "Rate") that the last line's gcd gives.
TEST(RhoFloyd, RealRunsAreConsistentAndFollowTheClock)
{
    for (int k = 0; k < 2; k++) {
        time_t before = time(nullptr);
        ProgramRun run = run_to_end(PROGRAM(rho_floyd), "\n");
        time_t after = time(nullptr);

        std::vector<std::string> lines = lines_of(run.out);
        ASSERT_GE(lines.size(), 2u) << run.out;
        EXPECT_EQ("", lines[0]);
        int t = -1, h = -1, last_gcd = 0;
        size_t i = 1;
        for (; i < lines.size() && !lines[i].empty(); i++) {
            int step = 0, t_now = 0, h_now = 0;
            char rest[8] = "";
            int fields = sscanf(lines[i].c_str(), " %d    %d  %d%7s", &step, &t_now, &h_now, rest);
            ASSERT_GE(fields, 3) << "line " << i << ": \"" << lines[i] << "\"";
            EXPECT_EQ(static_cast<int>(i), step);
            if (i == 1) {
                EXPECT_EQ(rho_reference(t_now, n_rho), h_now) << "x(2) must follow x(1)";
            } else {
                EXPECT_EQ(rho_reference(t, n_rho), t_now) << "line " << i;
                EXPECT_EQ(rho_reference(rho_reference(h, n_rho), n_rho), h_now) << "line " << i;
            }
            t = t_now;
            h = h_now;
            last_gcd = std::gcd(h - t, n_rho);
            bool last = i + 1 == lines.size() || lines[i + 1].empty();
            EXPECT_TRUE(last || last_gcd == 1) << "line " << i << ": gcd " << last_gcd;
            EXPECT_TRUE(fields == 3 || (last && std::string(rest) == "Rate")) << "line " << i;
        }
        EXPECT_TRUE(last_gcd == 311 || last_gcd == 409 || last_gcd == n_rho) << run.out;
        std::string ending = last_gcd == n_rho ? "Rate" : "\n\n " + std::to_string(last_gcd);
        EXPECT_EQ(ending, run.out.substr(run.out.size() - std::min(run.out.size(), ending.size())));

        bool replayed = false;
        for (time_t second = before; second <= after && !replayed; second++) {
            srand(static_cast<unsigned>(second));
            replayed = run.out == rho_walk_reference(n_rho, rand() % n_rho);
        }
        EXPECT_TRUE(replayed) << "no second of the run gives this start:" << run.out;
    }
}

// ---- Rho with power-of-two saved values, and the period modulo p -----------

TEST(RhoFactor16019, FindsTheFactor83AndItsPeriod)
{
    const std::string expected = " 2 : 2\n"
                                 "  3 : 5\n"
                                 "  4 : 26\n"
                                 "  5 : 677\n"
                                 "  6 : 9798\n"
                                 "  7 : 14957\n"
                                 "  8 : 6515\n"
                                 "  9 : 10895\n"
                                 " 10 : 236\n"
                                 " 11 : 7640\n"
                                 " 12 : 12384\n"
                                 " 13 : 13570\n"
                                 " \n"
                                 " **** 83 ****\n"
                                 "\n" +
                                 std::string(58, '*') +
                                 "( 2 : 2) ( 3 : 5) ( 4 : 26) ( 5 : 13) ( 6 : 4) ( 7 : 17) ( 8 : 41) "
                                 "( 9 : 22) (10 : 70) (11 : 4) (12 : 17) (13 : 41) \n"
                                 "\n"
                                 "**** T=5 ****\n"
                                 "Indice d'entr\xe9"
                                 "e= 6";
    ProgramRun run = run_to_end(PROGRAM(rho_factor_16019), "\n");
    EXPECT_TRANSCRIPT(expected, run.out);
}

// The index kept when index i is reached: the largest power of two below i.
static long kept_index(long i)
{
    long b = 1;
    while (2 * b < i)
        b *= 2;
    return b;
}

// The sequence x(1) = 1, x(i + 1) = x(i)^2 + 1 modulo m, from index 1.
static std::vector<long long> orbit(long long m, long last)
{
    std::vector<long long> x = {0, 1};
    for (long i = 2; i <= last; i++)
        x.push_back(rho_reference(x.back(), m));
    return x;
}

// Both phases as the trace shows them. The period and the entry come from
// the first repeated value of the sequence modulo p, found by a table of
// first indices.
static std::string rho_16019_reference(long long n, long long p, bool p_given)
{
    std::string text;
    std::vector<long long> x = orbit(n, 401);
    long long divisor = 0;
    for (long i = 2; i <= 401 && divisor == 0; i++) {
        text += field(i, 2) + " : " + std::to_string(x[i]) + "\n ";
        long long g = std::gcd(x[i] - x[kept_index(i)], n);
        if (proper(g, n)) {
            divisor = g;
            text += "\n **** " + std::to_string(g) + " ****\n";
        }
    }
    if (!p_given)
        p = divisor;
    if (p == 0)
        return text;

    std::map<long long, long> first_index;
    std::vector<long long> v = orbit(p, 4 * p + 8);
    long entry = 1;
    while (first_index.emplace(v[entry], entry).second)
        entry++;
    long period = entry - first_index[v[entry]];
    entry = first_index[v[entry]];

    text += "\n" + std::string(58, '*');
    for (long i = 2;; i++) {
        text += "(" + field(i, 2) + " : " + std::to_string(v[i]) + ") ";
        if (v[i] == v[kept_index(i)]) {
            EXPECT_EQ(period, i - kept_index(i)) << "mod " << p;
            break;
        }
    }
    return text + "\n\n**** T=" + std::to_string(period) + " ****\nIndice d'entr\xe9" +
           "e= " + std::to_string(entry);
}

// 8051 = 83 * 97 shows 97 and is then studied modulo 97, or modulo 83 when
// that is given. The prime 10007 shows no divisor and stops after index 401,
// unless a modulus is given: 999983 takes more values than a table of 402
// would hold. 2147483646 = 2 * 3^2 * 7 * 11 * 31 * 151 * 331 shows 3, and
// 2^31 - 1 needs 62-bit squares.
TEST(RhoFactor16019, ChosenNumbersAndModuli)
{
    struct Row {
        long long n, p; // p 0: not given
    } rows[] = {{8051, 0}, {8051, 83}, {10007, 0}, {10007, 999983}, {2147483646, 0}, {2147483647, 2}};
    for (const Row &row : rows) {
        std::vector<std::string> args = {std::to_string(row.n)};
        if (row.p != 0)
            args.push_back(std::to_string(row.p));
        ProgramRun run = run_to_end(PROGRAM(rho_factor_16019), "\n", args);
        EXPECT_TRANSCRIPT(rho_16019_reference(row.n, row.p, row.p != 0), run.out) << row.n << " " << row.p;
    }
}

// ---- Fermat's difference-of-squares walk --------------------------------------

// Rows: N (0: the built-in 4842037507 = 70003 * 69169, 419 positions). 9 is a
// square and needs no step; 3 and the prime 2000003 can only end at N * 1,
// which 2000003 does not reach within 10^6 steps. 2^62 - 1 = 3 * 715827883 *
// 2147483647 and 2147483647 * 2147481629 start near 2^31, whose square
// needs 62 bits.
TEST(DifferenceOfSquaresWalk, WalksToTheFactors)
{
    for (long long N : {0LL, 8051LL, 3LL, 9LL, 2000003LL, 4611686018427387903LL, 4611681680510420963LL}) {
        std::vector<std::string> args;
        if (N != 0)
            args.push_back(std::to_string(N));
        // Standard input at end of file: the key wait returns at once.
        ProgramRun run = run_to_end(PROGRAM(difference_of_squares_walk), "", args);
        EXPECT_TRANSCRIPT(fermat_walk_transcript(N != 0 ? N : 4842037507), run.out) << "N = " << N;
    }
}

// ---- The result of each method, in process, on ranges of numbers -------------

// What a reference expects of a run: the factor found (0: none) and, without
// one, the reason a composite n gets. A prime n always gets "prime".
struct Expected {
    long long factor;
    const char *failure;
};

// Keeps the run's result event and the kinds of the events after it.
class ResultSink : public Steps
{
  public:
    void report(const Event &event) override
    {
        if (event.kind == EventKind::result) {
            result.events.clear();
            result.report(event);
            results++;
        } else if (results > 0) {
            after.push_back(event.kind);
        }
    }
    Recorder result;
    int results = 0;
    std::vector<EventKind> after;
};

// One result, followed only by the program's pause: n, and the split
// factor * cofactor or no factor with the reason.
static ::testing::AssertionResult result_is(const ResultSink &sink, long long n, Expected expected)
{
    if (sink.results != 1 || sink.after != std::vector<EventKind>{EventKind::pause})
        return ::testing::AssertionFailure()
               << sink.results << " results, " << sink.after.size() << " events after";
    const Recorder::Kept &r = sink.result.events.front();
    const Recorder::KeptValue *factor = r.find("factor"), *reason = r.find("reason");
    if (r["n"] != n || factor == nullptr)
        return ::testing::AssertionFailure() << "n = " << r["n"] << (factor ? "" : ", no factor field");
    if (expected.factor != 0) {
        if (factor->type == Value::integer && factor->integer == expected.factor &&
            r["cofactor"] == n / expected.factor && reason == nullptr)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "factor " << factor->integer << ", expected " << expected.factor;
    }
    std::string want = prime_by_trial_division(n) ? "prime" : expected.failure;
    if (factor->type == Value::none && reason != nullptr && reason->text == want &&
        r.find("cofactor") == nullptr)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "reason \"" << (reason ? reason->text : "") << "\", expected " << want;
}

// Pollard p-1 by plain powering: the exponent grows by each prime-power
// base up to `bound` (or is i! up to 13!), until gcd(2^E - 1, n) > 1.
static Expected pminus1_reference(long long n, long bound, bool factorial)
{
    uint64_t a = 2, g = 1;
    for (long q = 2; q <= (factorial ? 13 : bound) && g == 1; q++) {
        long p = factorial ? q : prime_of_power(q);
        if (p != 0) {
            a = power_reference(a, p, n);
            g = gcd_of_residue_minus_1(a, n);
        }
    }
    return {proper(g, n) ? static_cast<long long>(g) : 0, g == 1 ? "no factor within the bound" : "gcd is n"};
}

// 4681 = 31 * 151: 2 has the orders 5 and 15, which the same exponent
// reaches first. Carmichael numbers, the strong pseudoprime 25326001, the
// square 97^2 and numbers near 2^31 come before every n from 4 to 2000
// (powers of two among them).
TEST(PminusOne, ResultsAgreeWithPlainPowering)
{
    std::vector<long long> numbers = {4681, 561, 8911, 25326001, 9409, 2147483647, 2147483646, 1000000007};
    for (long long n = 4; n <= 2000; n++)
        numbers.push_back(n);
    for (long long n : numbers)
        for (long bound : {2L, 10L, 100L}) {
            ResultSink sink;
            pminus1_prime_powers(static_cast<int>(n), static_cast<int>(bound), sink);
            ASSERT_TRUE(result_is(sink, n, pminus1_reference(n, bound, false))) << n << ", bound " << bound;
        }
    for (long long n : numbers) {
        ResultSink sink;
        pminus1_factorial(static_cast<int>(n), 13, sink);
        ASSERT_TRUE(result_is(sink, n, pminus1_reference(n, 0, true))) << n << ", 13!";
    }
}

// The draws of srand(seed) and rand(), at most max_draws of them.
static Expected random_base_reference(long n, unsigned seed, int max_draws)
{
    srand(seed);
    for (int draw = 0; draw < max_draws; draw++) {
        long long g =
            gcd_of_residue_minus_1(power_reference(rand() % (n - 2) + 1, exponent_reference(), n), n);
        if (proper(g, n))
            return {g, nullptr};
    }
    return {0, "steps exhausted"};
}

TEST(PminusOneRandomBase, ResultsAgreeWithTheDrawsReplayed)
{
    for (long n = 4; n <= 1500; n++)
        for (unsigned seed : {1u, 2u}) {
            ResultSink sink;
            pminus1_random_base(static_cast<int>(n), seed, 40, 20, sink);
            ASSERT_TRUE(result_is(sink, n, random_base_reference(n, seed, 20))) << n << ", seed " << seed;
        }
}

// The rho walk as rho_walk_reference follows it, to its result.
static Expected rho_floyd_reference(long long n, long long x0, int max_steps)
{
    long long t = x0, h = x0;
    for (int i = 1; i <= max_steps; i++) {
        t = rho_reference(t, n);
        h = rho_reference(rho_reference(h, n), n);
        long long d = std::gcd(h - t, n);
        if (d > 1)
            return {d < n ? d : 0, "gcd is n"};
    }
    return {0, "steps exhausted"};
}

// Every n from 4 to 3000 from two starts, with 10000 steps and with 4.
TEST(RhoFloyd, ResultsAgreeWithTheWalk)
{
    for (long long n = 4; n <= 3000; n++)
        for (long long x0 : {2 % n, n - 1})
            for (int steps : {10000, 4}) {
                ResultSink sink;
                rho_floyd(static_cast<int>(n), static_cast<int>(x0), steps, sink);
                ASSERT_TRUE(result_is(sink, n, rho_floyd_reference(n, x0, steps))) << n << " from " << x0;
            }
}

// Both phases: the divisor by kept_index, then the period and the entry of
// the walk modulo p from the first repeated value (a table of first indices).
TEST(RhoFactor16019, ResultsAgreeWithTheWalkAndItsFirstRepeat)
{
    for (long long n = 4; n <= 2500; n++) {
        std::vector<long long> x = orbit(n, 401);
        long long divisor = 0;
        for (long i = 2; i <= 401 && divisor == 0; i++)
            if (long long g = std::gcd(x[i] - x[kept_index(i)], n); proper(g, n))
                divisor = g;
        for (long long modulus : {0LL, 83LL}) {
            ResultSink sink;
            rho_factor_16019(static_cast<int>(n), static_cast<int>(modulus), 400, sink);
            ASSERT_TRUE(result_is(sink, n, {divisor, "steps exhausted"})) << n << " mod " << modulus;
            long long p = modulus != 0 ? modulus : divisor;
            const Recorder::Kept &r = sink.result.events.front();
            if (p == 0) {
                EXPECT_EQ(Value::none, r.find("period")->type) << n;
                continue;
            }
            std::map<long long, long> first_index;
            std::vector<long long> v = orbit(p, p + 2);
            long i = 1;
            while (first_index.emplace(v[i], i).second)
                i++;
            EXPECT_EQ(p, r["p"]);
            EXPECT_EQ(i - first_index[v[i]], r["period"]) << n << " mod " << p;
            EXPECT_EQ(first_index[v[i]], r["entry"]) << n << " mod " << p;
        }
    }
}

// Fermat's walk ends at the split a * b with b the largest divisor up to
// the square root, after a - ceil(sqrt N) steps: found by divisor search.
TEST(DifferenceOfSquaresWalk, ResultsAgreeWithTheDivisorNearestTheRoot)
{
    for (long long N = 3; N <= 6001; N += 2)
        for (long steps : {1000000L, 40L}) {
            long long root = 1, b = 1;
            while (root * root < N)
                root++;
            for (long long d = 1; d * d <= N; d++)
                if (N % d == 0)
                    b = d;
            Expected expected = {N / b - root <= steps && b > 1 ? N / b : 0, "steps exhausted"};
            ResultSink sink;
            difference_of_squares_walk(N, steps, sink);
            ASSERT_TRUE(result_is(sink, N, expected)) << N << " in " << steps << " steps";
        }
}

// ---- The JSON and the explanation of the programs -----------------------------

// Every line is one JSON object, the last the result with the split or the
// reason, and every number of the classic trace of the same run is among
// the events' values. 8051 is found by every method; 4681 gives the gcd n;
// 455459 and 1000000007 end without a word in the classic trace; the prime
// 10007 ends Fermat's walk at 10007 * 1.
TEST(FactoringViews, JsonCarriesTheResultAndEveryNumberOfTheTrace)
{
    struct Row {
        const char *program;
        std::vector<std::string> args;
        const char *reason; // nullptr: a proper split
    } rows[] = {
        {"pminus1_prime_powers", {}, nullptr},
        {"pminus1_prime_powers", {"4681", "20"}, "gcd is n"},
        {"pminus1_prime_powers", {"1000000007", "300"}, "prime"},
        {"pminus1_factorial", {"455459"}, "no factor within the bound"},
        {"pminus1_factorial", {"1024"}, "no factor within the bound"},
        {"pminus1_random_base", {"10403", "1"}, nullptr},
        {"rho_floyd", {"8051", "2"}, nullptr},
        {"rho_floyd", {"97", "2"}, "prime"},
        {"rho_floyd", {"1000000007", "2"}, "prime"},
        {"rho_factor_16019", {}, nullptr},
        {"rho_factor_16019", {"10007"}, "prime"},
        {"rho_factor_16019", {"10007", "999983"}, "prime"},
        {"difference_of_squares_walk", {"8051"}, nullptr},
        {"difference_of_squares_walk", {"10007"}, "prime"},
    };
    for (const Row &row : rows) {
        std::string program = std::string(SUITE_BIN_DIR "/") + row.program;
        SCOPED_TRACE(program + (row.args.empty() ? "" : " " + row.args[0]));
        std::vector<std::string> args = row.args;
        args.insert(args.begin() + (args.empty() ? 0 : 1), "--json");
        std::string classic = run_to_end(program, "", row.args).out;
        JsonLines json(run_to_end(program, "", args).out);
        EXPECT_EQ("", json.bad_line);
        EXPECT_EQ("\"result\"", json.field("event"));
        long long n = atoll(json.field("n").c_str()), f = atoll(json.field("factor").c_str());
        if (row.reason != nullptr) {
            EXPECT_EQ("null \"" + std::string(row.reason) + "\"",
                      json.field("factor") + " " + json.field("reason"));
        } else {
            EXPECT_TRUE(proper(f, n) && n % f == 0 && atoll(json.field("cofactor").c_str()) == n / f)
                << json.last;
        }
        if (std::string(row.program) == "rho_factor_16019") {
            for (const char *name : {"p", "period", "entry"})
                EXPECT_NE("", json.field(name)) << json.last;
        }
        for (const std::string &v : whole_numbers(classic))
            EXPECT_TRUE(json.numbers.count(v)) << v << " of the trace is in no event";
    }
}

// Two explanations written from the same events, as the web edition writes
// the English and the French one side by side, are each what one alone
// writes: their tables, headers and counts are their own.
TEST(FactoringViews, TwoExplanationsOfOneRunAreEachWhatOneAloneWrites)
{
    struct Both : Steps {
        std::vector<Steps *> sinks;
        void report(const Event &e) override
        {
            for (Steps *s : sinks)
                s->report(e);
        }
    };
    std::function<void(Steps &)> runs[] = {
        [](Steps &out) { rho_floyd(8051, 2, 10000, out); },
        [](Steps &out) { pminus1_prime_powers(8051, 50, out); },
        [](Steps &out) { pminus1_random_base(455459, 7, 40, 50, out); },
        [](Steps &out) { rho_factor_16019(16019, 83, 1000000, out); },
    };
    for (size_t k = 0; k < std::size(runs); k++) {
        std::string texts[3];
        auto settings = [&](std::string &text) {
            Explainer::Settings s;
            s.all = true;
            s.write = [&text](const std::string &t) { text += t; };
            return s;
        };
        {
            ExplainView alone({&factoring_explain}, settings(texts[0]));
            runs[k](alone);
            alone.finish();
        }
        ExplainView first({&factoring_explain}, settings(texts[1])), second({&factoring_explain}, settings(texts[2]));
        Both both;
        both.sinks = {&first, &second};
        runs[k](both);
        first.finish();
        second.finish();
        EXPECT_EQ(texts[0], texts[1]) << "run " << k;
        EXPECT_EQ(texts[0], texts[2]) << "run " << k;
    }
}

// The explanation of the largest runs in English, and in French of the same
// runs or, where they take long, of smaller ones: at most 20 kB, lines
// within 80 columns, ending with the conclusion. --help shows the legend.
TEST(FactoringViews, ExplanationsStayBoundedAndConclude)
{
    struct Row {
        const char *program;
        std::vector<std::string> args;
        const char *english;             // in the last paragraph
        std::vector<std::string> french_args; // when not the same
        const char *french;
    } rows[] = {
        {"pminus1_prime_powers",
         {"1000000007", "1000000"},
         "1000000007 is prime, so no split exists.",
         {"1000000007", "1000"},
         "1000000007 est premier, il n'a donc aucune décomposition."},
        {"pminus1_prime_powers",
         {"1073741824", "1000000"},
         "The base 2 never shows this factor",
         {"1073741824", "1000"},
         "La base 2 ne montre jamais ce facteur"},
        {"pminus1_factorial", {"455459"}, "Try larger exponents", {}, "Essayez des exposants plus grands"},
        {"pminus1_random_base", {"2147483647", "9"}, "2147483647 is prime", {"10007", "9"}, "10007 est premier"},
        {"rho_floyd", {"97", "2"}, "97 is prime, so no split exists", {}, "97 est premier, il n'a donc aucune"},
        {"rho_floyd", {"1000000007", "2"}, "1000000007 is prime", {}, "1000000007 est premier"},
        {"rho_factor_16019",
         {"2147483647", "1000000"},
         "Modulo 1000000 the walk",
         {},
         "Modulo 1000000, la suite"},
        {"difference_of_squares_walk",
         {"1000003"},
         "1000003 is prime, so no split exists.",
         {"10007"},
         "10007 est premier, il n'a donc aucune décomposition."},
        {"difference_of_squares_walk", {"4611686018427387847"}, "is prime", {"10007"}, "est premier"},
    };
    for (const Row &row : rows)
        for (const char *language : {"en", "fr"}) {
            RunOptions options;
            options.args = language[0] == 'f' && !row.french_args.empty() ? row.french_args : row.args;
            options.args.push_back("--explain");
            options.env = {std::string("LANGUAGE=") + language};
            ProgramRun run = run_program(std::string(SUITE_BIN_DIR "/") + row.program, options);
            std::string what = std::string(row.program) + " " + options.args[0] + " in " + language;
            EXPECT_EQ(0, run.status) << what;
            EXPECT_LE(run.out.size(), 20000u) << what;
            for (const std::string &line : lines_of(run.out)) {
                size_t columns = 0;
                for (unsigned char c : line)
                    columns += (c & 0xC0) != 0x80;
                EXPECT_LE(columns, 80u) << what << ": " << line;
            }
            size_t last_paragraph = run.out.rfind("\n\n");
            std::string ending = run.out.substr(last_paragraph == std::string::npos ? 0 : last_paragraph);
            // The paragraph's lines joined, as the words were before wrapping.
            std::replace(ending.begin(), ending.end(), '\n', ' ');
            EXPECT_NE(std::string::npos, ending.find(language[0] == 'e' ? row.english : row.french))
                << what << ":" << ending;
        }
    // --help gives the same legend, in English.
    for (const Row &row : rows)
        EXPECT_NE(std::string::npos, run_to_end(std::string(SUITE_BIN_DIR "/") + row.program, "", {"--help"})
                                         .out.find("What the trace shows:\n"))
            << row.program;
}
