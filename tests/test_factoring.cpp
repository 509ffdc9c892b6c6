// The factoring programs. The deterministic ones run as processes and are
// compared with their documented traces, or, for the long difference-of-
// squares walk, with a walk recomputed here from exact 64-bit squares. The two
// that draw at random are also built into this test (main renamed), so that
// their steps can be run from chosen bases, starts and seeds; their real runs
// are checked line by line and replayed from the clock seed with references
// that use plain multiplication and std::gcd.
#include "harness.hpp"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

// From programs/factoring/pminus1_random_base.cpp.
int ppmc_exponent();
int attempt(int base, int P);
int draw_until_factor(int P);
// From programs/factoring/rho_floyd.cpp.
int rho_square(int x);
int rho_step(int x);
void run_from(int x0);
// From programs/factoring/pminus1_factorial.cpp.
extern int m;
void factorial_steps();

// What the steps print, caught from standard output through a temporary file.
template <class Steps> static std::string printed_by(Steps steps)
{
    fflush(stdout);
    FILE *file = tmpfile();
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(file), STDOUT_FILENO);
    steps();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text;
    rewind(file);
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    fclose(file);
    return text;
}

// A number right-aligned in a field of the given width, 0 shown as blanks.
static std::string field(long value, size_t width)
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

// b^e mod m from the highest bit of e down, for 64-bit exponents.
static int power_reference_64(int b, uint64_t e, int modulus)
{
    uint64_t r = 1;
    for (int bit = 63; bit >= 0; bit--) {
        r = r * r % modulus;
        if (e >> bit & 1)
            r = r * static_cast<uint64_t>(b) % modulus;
    }
    return static_cast<int>(r);
}

// 2773 = 47 * 59, where 2 has the orders 23 and 58: no i! up to 13! is a
// multiple of either, so every gcd is 1 and all thirteen steps are shown. The
// exponent 13! leaves 32 bits and is shown by its low 32 bits; it must be
// formed without a signed overflow (fatal in the sanitizer build).
TEST(PminusOneFactorial, WithoutAFactorRunsThirteenSteps)
{
    const int modulus = 2773;
    std::string expected;
    uint64_t factorial = 1;
    for (int i = 1; i <= 13; i++) {
        factorial *= i;
        int a = power_reference_64(2, factorial, modulus);
        int shown = static_cast<int32_t>(static_cast<uint32_t>(factorial));
        expected += "\n2 puissance  " + field(shown, 9) + "  =  " + field(a, 6) + "         pgcd(" +
                    field(a - 1, 6) + " " + field(modulus, 6) + ")  =" + field(std::gcd(a - 1, modulus), 8);
    }
    EXPECT_NE(std::string::npos, expected.find("\n2 puissance  1932053504  =  "));

    int saved = m;
    m = modulus;
    std::string out = printed_by([] { factorial_steps(); });
    m = saved;
    EXPECT_TRANSCRIPT(expected, out);
}

// A trace that cannot be written must not end as a success.
TEST(PminusOneFactorial, ReportsATraceThatCouldNotBeWritten)
{
    RunOptions options;
    options.input = "\n";
    options.stdout_path = "/dev/full";
    options.timeout_seconds = 30;
    ProgramRun run = run_program(PROGRAM(pminus1_factorial), options);
    EXPECT_FALSE(run.timed_out);
    EXPECT_NE(0, run.status);
    EXPECT_NE("", run.err);
}

// ---- Pollard p-1 with random bases -----------------------------------------

const int n_p1 = 32623; // 17 * 19 * 101

// The program's exponent, formed once (it compacts the prime table in place).
static int program_exponent()
{
    static const int P = ppmc_exponent();
    return P;
}

// b^e mod m from the highest bit of e down, with 64-bit products.
static int power_reference(int b, uint32_t e, int m)
{
    uint64_t r = 1;
    for (int bit = 31; bit >= 0; bit--) {
        r = r * r % m;
        if (e >> bit & 1)
            r = r * static_cast<uint64_t>(b) % m;
    }
    return static_cast<int>(r);
}

// lcm(1, ..., 40) in 64 bits; the program keeps its low 32 bits.
static uint32_t exponent_reference()
{
    uint64_t l = 1;
    for (uint64_t k = 2; k <= 40; k++)
        l = std::lcm(l, k);
    EXPECT_EQ(5342931457063200u, l);
    return static_cast<uint32_t>(l);
}

static std::string p1_line(int x)
{
    return "\n   pgcd(" + field(x - 1, 5) + " " + field(n_p1, 5) + ")  =" + field(std::gcd(x - 1, n_p1), 7);
}

static bool proper(int g, int n)
{
    return g > 1 && g < n;
}

// The draws after srand(seed): bases rand() % 32621 + 1 until one gives a
// proper factor.
static std::string p1_draws_reference(unsigned seed)
{
    uint32_t P = exponent_reference();
    srand(seed);
    std::string text;
    for (;;) {
        int x = power_reference(rand() % (n_p1 - 2) + 1, P, n_p1);
        text += p1_line(x);
        if (proper(std::gcd(x - 1, n_p1), n_p1))
            return text;
    }
}

TEST(PminusOneRandomBase, ExponentIsTheLcmCutTo32Bits)
{
    EXPECT_EQ(730773792u, exponent_reference());
    EXPECT_EQ(730773792, program_exponent());
}

// Rows: a base, its documented line (where there is one) and its gcd. A gcd
// of 323 ends the run; 32623 (from 10^P = 1) tells nothing.
TEST(PminusOneRandomBase, ChosenBases)
{
    struct Row {
        int base;
        const char *line; // nullptr: only the gcd is documented
        int gcd;
    } rows[] = {
        {2, "\n   pgcd( 5814 32623)  =    323", 323},
        {3, nullptr, 323},
        {5, nullptr, 323},
        {10, "\n   pgcd(      32623)  =  32623", 32623}, // 10^P = 1: x - 1 prints as blanks
    };
    for (const Row &row : rows) {
        int g = 0;
        std::string line = printed_by([&] { g = attempt(row.base, program_exponent()); });
        EXPECT_EQ(row.gcd, g) << "base " << row.base;
        std::string expected = row.line ? row.line : p1_line(power_reference(row.base, 730773792u, n_p1));
        EXPECT_TRANSCRIPT(expected, line) << "base " << row.base;
    }
}

TEST(PminusOneRandomBase, GcdCountsOverAllBases)
{
    std::map<int, int> counts;
    printed_by([&] {
        for (int base = 1; base <= n_p1 - 2; base++)
            counts[attempt(base, program_exponent())]++;
    });
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
        int x = power_reference(rand() % (n_p1 - 2) + 1, 730773792u, n_p1);
        if (std::gcd(x - 1, n_p1) == wanted)
            return seed;
    }
}

TEST(PminusOneRandomBase, DrawsAgainUntilAProperFactor)
{
    unsigned gcd_1_seed = first_seed_with_gcd(1), gcd_n_seed = first_seed_with_gcd(n_p1);
    for (unsigned seed : {1u, gcd_1_seed, gcd_n_seed}) {
        std::string expected = p1_draws_reference(seed);
        srand(seed);
        int g = 0;
        std::string out = printed_by([&] { g = draw_until_factor(program_exponent()); });
        EXPECT_TRANSCRIPT(expected, out) << "seed " << seed;
        EXPECT_TRUE(proper(g, n_p1)) << "seed " << seed << ": " << g;
        EXPECT_TRUE(seed == 1 || lines_of(out).size() >= 3) << "seed " << seed << " draws once";
    }
}

// The shipped program, seeded from the clock. Every line must be a P-th power
// with its gcd, only the last gcd may be a proper factor, and the whole run
// must be the one the documented draws give for a second of the run.
TEST(PminusOneRandomBase, RealRunsAreConsistentAndFollowTheClock)
{
    std::set<int> powers;
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
            EXPECT_EQ(p1_line(x).substr(1), line) << "line " << i;
            EXPECT_EQ(i + 1 == lines.size(), proper(g, n_p1)) << "line " << i << ": gcd " << g;
        }

        bool replayed = false;
        for (time_t second = before; second <= after && !replayed; second++)
            replayed =
                run.out == "\n    ppmc P = 730773792" + p1_draws_reference(static_cast<unsigned>(second));
        EXPECT_TRUE(replayed) << "no second of the run gives these draws:" << run.out;
    }
}

// ---- Pollard rho with Floyd's cycle detection --------------------------------

const int n_rho = 127199; // 311 * 409

static int rho_reference(int x)
{
    return static_cast<int>((static_cast<int64_t>(x) * x + 1) % n_rho);
}

// The edges of the squaring loop (0 and 1 run no addition, 127198 is -1) and
// values on both sides of the first reduction (356^2 < n < 357^2).
TEST(RhoFloyd, SquareAndStepByAddition)
{
    EXPECT_EQ(0, rho_square(0));
    EXPECT_EQ(1, rho_square(1));
    EXPECT_EQ(2, rho_step(127198));
    for (int x : {0, 1, 2, 356, 357, 12345, 63600, 127197, 127198}) {
        EXPECT_EQ(static_cast<int64_t>(x) * x % n_rho, rho_square(x)) << "x = " << x;
        EXPECT_EQ(rho_reference(x), rho_step(x)) << "x = " << x;
    }
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
    EXPECT_TRANSCRIPT(expected, printed_by([] { run_from(12345); }));
}

// The walk from x0 as the trace shows it, by plain multiplication.
static std::string rho_walk_reference(int x0)
{
    std::string text;
    int t = x0, h = x0;
    for (int i = 1; i <= 10000; i++) {
        t = rho_reference(t);
        h = rho_reference(rho_reference(h));
        text += "\n " + std::to_string(i) + "    " + std::to_string(t) + "  " + std::to_string(h);
        int d = std::gcd(h - t, n_rho);
        if (proper(d, n_rho))
            return text + "\n\n " + std::to_string(d);
        if (d == n_rho)
            return text + "Rate";
    }
    return text;
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
                EXPECT_EQ(rho_reference(t_now), h_now) << "x(2) must follow x(1)";
            } else {
                EXPECT_EQ(rho_reference(t), t_now) << "line " << i;
                EXPECT_EQ(rho_reference(rho_reference(h)), h_now) << "line " << i;
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
            replayed = run.out == rho_walk_reference(rand() % n_rho);
        }
        EXPECT_TRUE(replayed) << "no second of the run gives this start:" << run.out;
    }
}

// ---- Rho on 16019, and the period modulo 83 ---------------------------------

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

// ---- Fermat's difference-of-squares walk --------------------------------------

// The walk by exact 64-bit squares: y grows while x*x - y*y exceeds N, x while
// it falls short.
TEST(DifferenceOfSquaresWalk, PrintsEveryPositionAndTheFactors)
{
    const int64_t N = 4842037507;
    int64_t x = 69585, y = 0;
    ASSERT_TRUE((x - 1) * (x - 1) < N && N <= x * x) << "the walk starts at ceil(sqrt N)";
    std::string expected = "(69585 0)";
    int positions = 1;
    while (x * x - y * y != N) {
        if (x * x - y * y > N)
            y++;
        else
            x++;
        expected += "(" + std::to_string(x) + " " + std::to_string(y) + ")";
        positions++;
    }
    expected += "\n***(" + std::to_string(x + y) + " " + std::to_string(x - y) + ")";
    EXPECT_EQ(419, positions);
    EXPECT_EQ(N, int64_t{70003} * 69169);

    // Standard input at end of file: the key wait returns at once.
    ProgramRun run = run_to_end(PROGRAM(difference_of_squares_walk), "");
    EXPECT_TRANSCRIPT(expected, run.out);
    EXPECT_EQ(0u, run.out.rfind("(69585 0)(69585 1)", 0));
    EXPECT_NE(std::string::npos, run.out.find("(69585 187)(69586 187)(69586 188)"));
    const std::string tail = "(69586 416)(69586 417)\n***(70003 69169)";
    EXPECT_EQ(run.out.size() - tail.size(), run.out.rfind(tail));
}
