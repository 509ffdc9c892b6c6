// The primality programs, each run as a process with standard input at end of
// file. Short built-in traces are typed in; the listings are rebuilt here from
// trial division, the probable-prime tests from powers taken one by one, and
// the spiral from a ring formula; known counts and boundary values are
// checked on their own.
#include "harness.hpp"
#include "programs/primality/primality.hpp"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// The primes up to bound, each followed by one blank, and how many there are.
static std::string listing_up_to(int bound, int &count)
{
    std::string text;
    count = 0;
    for (int n = 2; n <= bound; n++)
        if (prime_by_trial_division(n)) {
            text += std::to_string(n) + " ";
            count++;
        }
    return text;
}

TEST(PrimeListing, ListsThePrimesUpTo500000)
{
    int count;
    std::string listing = listing_up_to(500000, count);
    ASSERT_EQ(41538, count);
    ProgramRun run = run_to_end(PROGRAM(prime_listing));
    EXPECT_TRANSCRIPT(listing + "\n*** Nombre = 41538 \n", run.out);
}

// The second listing, from the compacted table, follows the count line
// directly and repeats the first exactly.
TEST(PrimeListingCompacted, ListsThePrimesUpTo100000Twice)
{
    int count;
    std::string listing = listing_up_to(100000, count);
    ASSERT_EQ(9592, count);
    ProgramRun run = run_to_end(PROGRAM(prime_listing_compacted));
    EXPECT_TRANSCRIPT(listing + "\n*** Nombre =9592 \n" + listing, run.out);
}

// 2^17 - 1 = 131071 is prime and the bound 2^17 is scanned inclusive.
TEST(PrimeProportion, ListsCountsAndComparesTheProportions)
{
    int count;
    std::string listing = listing_up_to(131072, count);
    ASSERT_EQ(12251, count);
    ProgramRun run = run_to_end(PROGRAM(prime_proportion));
    EXPECT_TRANSCRIPT(listing + "\n*** Nombre =12251 \n" + "\n Proportion de premiers = 0.093" +
                          "\n Proportion theorique de premiers = 0.080",
                      run.out);
}

TEST(PseudoprimesBases235, ListsTheFermatLiarsOfEachBase)
{
    const std::string expected =
        "  341  561  645  1105  1387  1729  1905  2047  2465  2701  2821"
        "  3277  4033  4369  4371  4681  5461  6601  7957  8321  8481  8911"
        "\n nombre de faux premiers probables avec 2 = 22\n\n"
        " 561 non premier   645 non premier    1105  1729 1905 non premier    2465  2701  2821"
        " 4371 non premier    6601 8481 non premier    8911"
        "\n\n nombre de faux premiers probables avec 2 et 3 = 7\n\n"
        " 1105  1729  2465  2701  2821  6601  8911 "
        " 1105 non premier    1729 2465 non premier    2821  6601  8911"
        "\n\n nombre de faux premiers probables avec 2, 3 et 5 = 4\n\n"
        " 1729  2821  6601  8911 ";
    ProgramRun run = run_to_end(PROGRAM(pseudoprimes_bases_2_3_5));
    EXPECT_TRANSCRIPT(expected, run.out);
}

TEST(StrongPseudoprimesBase2, ListsTheSixteenBelow100000)
{
    const std::string expected = " \n Nombres non premiers, parmi les fort probablement premiers \n\n"
                                 " 2047  3277  4033  4681  8321  15841  29341  42799  49141  52633"
                                 "  65281  74665  80581  85489  88357  90751 ";
    ProgramRun run = run_to_end(PROGRAM(strong_pseudoprimes_base_2));
    EXPECT_TRANSCRIPT(expected, run.out);
}

// 2^27 = 645, 645^2 = 1065, 1065^2 = 1 (mod 1729): a square root of 1 other
// than -1 ends the test at the second squaring.
TEST(StrongTestTrace1729, FindsTheNonTrivialSquareRootOfOne)
{
    ProgramRun run = run_to_end(PROGRAM(strong_test_trace_1729));
    EXPECT_TRANSCRIPT(builtin_strong_test_1729_transcript, run.out);
}

// Below 100 the strong test to base 2 is exact: the 24 odd primes pass, the
// 25 odd composites are shown composite.
TEST(StrongTestOddBelow100, GivesEachOddNumberItsVerdict)
{
    const int odd_primes[] = {3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                              43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};
    std::string expected;
    size_t next = 0;
    for (int n = 3; n <= 99; n += 2) {
        bool prime = next < sizeof odd_primes / sizeof *odd_primes && odd_primes[next] == n;
        next += prime;
        expected += " " + std::to_string(n) + (prime ? " FPP " : " non premier ");
    }
    ProgramRun run = run_to_end(PROGRAM(strong_test_odd_below_100));
    EXPECT_TRANSCRIPT(expected, run.out);
}

// Point i of the spiral from the ring it lies on. Ring t (t = 0, 1, ...)
// starts after the corner (-t, t), which is point t(4t + 2), and runs right
// along y = t, down x = t + 1, left along y = -t - 1, up x = -t - 1, with
// arms of 2t + 1, 2t + 1, 2t + 2 and 2t + 2 points.
static void spiral_point(int i, int &x, int &y)
{
    int t = 0;
    while ((t + 1) * (4 * t + 6) <= i)
        t++;
    int r = i - t * (4 * t + 2), m = 2 * t + 1;
    if (r == 0) {
        x = -t, y = t;
    } else if (r <= m) {
        x = -t + r, y = t;
    } else if (r <= 2 * m) {
        x = t + 1, y = t - (r - m);
    } else if (r <= 3 * m + 1) {
        x = t + 1 - (r - 2 * m), y = -t - 1;
    } else {
        x = -t - 1, y = -t - 1 + (r - 3 * m - 1);
    }
}

// The spiral's points 0 ... 20879 and their count.
static std::string spiral_points()
{
    std::string text;
    for (int i = 0; i < 20880; i++) {
        int x, y;
        spiral_point(i, x, y);
        text += " (" + std::to_string(x) + "  " + std::to_string(y) + ") ";
    }
    return text + "\n *** nb de points = 20880\n";
}

TEST(SpiralCoordinatesConsole, PrintsTheSpiralThenEulersPolynomial)
{
    std::string expected = spiral_points();
    for (int n = 0; n <= 40; n++) {
        int v = n * n + n + 41;
        expected += " (" + std::to_string(v);
        if (prime_by_trial_division(v))
            expected += " " + std::to_string(v) + ")";
    }

    ProgramRun run = run_to_end(PROGRAM(spiral_coordinates_console));
    EXPECT_TRANSCRIPT(expected, run.out);
}

// Listings up to other limits, against trial division; 2, 3 and 4 are the
// smallest limits, 7919 the thousandth prime. The proportions are worked out
// by hand: 1/ln 2 = 1.4427, 1/ln 3 = 0.9102, 1/ln 4 = 0.7213 and
// 1/ln 7919 = 0.1114.
TEST(PrimeListings, ListThePrimesUpToTheLimitGiven)
{
    struct {
        int limit;
        const char *measured, *theoretical;
    } rows[] = {{2, "0.500", "1.443"}, {3, "0.667", "0.910"}, {4, "0.500", "0.721"}, {7919, "0.126", "0.111"}};
    for (auto row : rows) {
        SCOPED_TRACE(row.limit);
        int count;
        std::string listing = listing_up_to(row.limit, count);
        std::string count_line = "\n*** Nombre =" + std::to_string(count) + " \n";
        std::vector<std::string> args{std::to_string(row.limit)};
        EXPECT_TRANSCRIPT(listing + "\n*** Nombre = " + std::to_string(count) + " \n",
                          run_to_end(PROGRAM(prime_listing), "", args).out);
        EXPECT_TRANSCRIPT(listing + count_line + listing, run_to_end(PROGRAM(prime_listing_compacted), "", args).out);
        EXPECT_TRANSCRIPT(listing + count_line + "\n Proportion de premiers = " + row.measured +
                              "\n Proportion theorique de premiers = " + row.theoretical,
                          run_to_end(PROGRAM(prime_proportion), "", args).out);
    }
}

// n - 1 = 2^s * d with d odd.
static int odd_part(long n, long &d)
{
    int s = 0;
    for (d = n - 1; d % 2 == 0; d /= 2)
        s++;
    return s;
}

// 340/341 and 2046/2047 sit either side of the least Fermat and strong
// pseudoprimes to base 2; the smallest limits list nothing.
TEST(PseudoprimeSearches, ListTheCompositesThatPassUpToTheLimitGiven)
{
    for (long limit : {3L, 340L, 341L, 100000L}) {
        // The composites that pass to base 2, then the marks and survivors of
        // bases 3 and 5. An even n never passes: 2^(n-1) mod n is even.
        std::vector<long> passed{};
        std::string expected;
        for (long n = 3; n <= limit; n += 2)
            if (power_reference(2, n - 1, n) == 1 && !prime_by_trial_division(n)) {
                passed.push_back(n);
                expected += "  " + std::to_string(n);
            }
        expected += "\n nombre de faux premiers probables avec 2 = " + std::to_string(passed.size()) + "\n\n";
        for (long base : {3L, 5L}) {
            std::vector<long> kept;
            for (long n : passed) {
                if (n % base == 0)
                    expected += " " + std::to_string(n) + " non premier  ";
                if (power_reference(base, n - 1, n) == 1) {
                    expected += "  " + std::to_string(n);
                    kept.push_back(n);
                }
            }
            expected += std::string("\n\n nombre de faux premiers probables avec 2") +
                        (base == 3 ? " et 3" : ", 3 et 5") + " = " + std::to_string(kept.size()) + "\n\n";
            for (long n : kept)
                expected += " " + std::to_string(n) + " ";
            passed = kept;
        }
        EXPECT_TRANSCRIPT(expected, run_to_end(PROGRAM(pseudoprimes_bases_2_3_5), "", {std::to_string(limit)}).out)
            << "limit " << limit;
    }
    for (long limit : {4L, 2047L, 2048L, 300000L}) {
        std::string expected = " \n Nombres non premiers, parmi les fort probablement premiers \n\n";
        for (long n = 3; n < limit; n += 2)
            if (strong_probable_prime(n, 2) && !prime_by_trial_division(n))
                expected += " " + std::to_string(n) + " ";
        EXPECT_TRANSCRIPT(expected,
                          run_to_end(PROGRAM(strong_pseudoprimes_base_2), "", {std::to_string(limit)}).out)
            << "limit " << limit;
    }
}

// The verdict for every odd number below the limit; 2047 = 23 * 89 is the
// first composite that passes.
TEST(StrongTestOddBelow100, GivesTheVerdictsBelowTheLimitGiven)
{
    for (long limit : {4L, 6L, 2100L}) {
        std::string expected;
        for (long n = 3; n < limit; n += 2)
            expected += " " + std::to_string(n) + (strong_probable_prime(n, 2) ? " FPP " : " non premier ");
        std::string out = run_to_end(PROGRAM(strong_test_odd_below_100), "", {std::to_string(limit)}).out;
        EXPECT_TRANSCRIPT(expected, out) << "limit " << limit;
    }
}

// The trace of the strong test on n to base a: a^d, then a^(2d), a^(4d), ...
// until 1 or n - 1, each power taken afresh.
static std::string strong_trace(long n, long a)
{
    long d;
    int s = odd_part(n, d);
    long first = power_reference(a, d, n);
    std::string ns = std::to_string(n);
    if (first == 1 || first == n - 1)
        return " aq=" + std::to_string(first) + "  " + ns + " FPP ";
    std::string text = " aq =" + std::to_string(first) + "\n ";
    for (int k = 1; k < s; k++) {
        long power = power_reference(a, d << k, n);
        text += " k=" + std::to_string(k) + " aexpo=" + std::to_string(power) + "  ";
        if (power == 1)
            return text + "   k = " + std::to_string(k) + " aexpo = 1 " + ns + " non premier ";
        if (power == n - 1)
            return text + " " + std::to_string(k) + "  aexpo = -1 " + ns + " FPP ";
    }
    return text + "    k=i  " + ns + " non premier ";
}

// 561 = 3 * 11 * 17 is shown composite at the third squaring; 2047 passes to
// base 2 at once; 25326001 = 2251 * 11251 passes to bases 2, 3 and 5 and is
// caught by 7. 5 is the least n, 9 runs out of squarings, and near 2^31 the
// squares need 64 bits: 2^31 - 1 is prime, 2147483617 = 2^5 * 67108863 + 1
// composite.
TEST(StrongTestTrace1729, TracesTheTestOnTheNumberAndBaseGiven)
{
    EXPECT_TRANSCRIPT(" aq =263\n  k=1 aexpo=166   k=2 aexpo=67   k=3 aexpo=1     k = 3 aexpo = 1 561 non premier ",
                      run_to_end(PROGRAM(strong_test_trace_1729), "", {"561"}).out);
    struct {
        long n, a;
    } rows[] = {{561, 2},      {2047, 2},       {25326001, 2},   {25326001, 3},   {25326001, 5},
                {25326001, 7}, {5, 2},          {5, 3},          {9, 2},          {2147483647, 2},
                {2147483647, 2147483645},       {2147483617, 2}, {2147483617, 3}, {1729, 1727}};
    for (auto row : rows) {
        std::vector<std::string> args{std::to_string(row.n), std::to_string(row.a)};
        EXPECT_TRANSCRIPT(strong_trace(row.n, row.a), run_to_end(PROGRAM(strong_test_trace_1729), "", args).out)
            << row.n << " to base " << row.a;
    }
}

// n*n - 79n + 1601 is Euler's polynomial run backwards: prime for every
// n = 0 ... 40. 210 and -290 are the extreme b: n*n + 210n from 0 to 10000,
// and n*n - 290n + 10000 from 10000 down to 0; 0 and 1 are no primes. With
// c = 8357 the primes lie above 5000, and each is found at its own index.
TEST(SpiralCoordinatesConsole, LooksUpThePolynomialGiven)
{
    struct {
        int b, c;
    } rows[] = {{-79, 1601}, {210, 0}, {-290, 10000}, {1, 8357}, {-40, 400}};
    for (auto row : rows) {
        std::string expected = spiral_points();
        for (int n = 0; n <= 40; n++) {
            int v = n * n + row.b * n + row.c;
            expected += " (" + std::to_string(v);
            if (prime_by_trial_division(v))
                expected += " " + std::to_string(v) + ")";
        }
        std::vector<std::string> args{std::to_string(row.b), std::to_string(row.c)};
        EXPECT_TRANSCRIPT(expected, run_to_end(PROGRAM(spiral_coordinates_console), "", args).out)
            << "b = " << row.b << ", c = " << row.c;
    }
}

// ---- The methods' events and the three views

// The primes up to limit by trial division.
static std::vector<long long> primes_up_to(long limit)
{
    std::vector<long long> primes;
    for (long n = 2; n <= limit; n++)
        if (prime_by_trial_division(n))
            primes.push_back(n);
    return primes;
}

// The values of the events of one kind and name, in order.
static std::vector<long long> values_of(const Recorder &r, EventKind kind, const char *what, const char *name)
{
    std::vector<long long> values;
    for (const Recorder::Kept *e : r.all(kind, what))
        values.push_back((*e)[name]);
    return values;
}

static const std::vector<long long> &list_of(const Recorder::Kept *e, const char *name)
{
    static const std::vector<long long> none;
    return e != nullptr && e->find(name) != nullptr ? e->find(name)->list : none;
}

// Each listing holds exactly the primes up to the limit, twice for the
// compacted table; the proportion is the count over the limit.
TEST(PrimalityMethods, ListingsHoldThePrimesUpToTheLimit)
{
    for (int limit : {2, 3, 4, 100, 7919, 65536}) {
        SCOPED_TRACE(limit);
        std::vector<long long> primes = primes_up_to(limit);
        Recorder listing, compacted, proportion;
        EXPECT_EQ(static_cast<int>(primes.size()), prime_listing(limit, listing));
        EXPECT_EQ(static_cast<int>(primes.size()), prime_listing_compacted(limit, compacted));
        prime_proportion(limit, 0.5, proportion);
        EXPECT_EQ(primes, values_of(listing, EventKind::item, "prime", "value"));
        EXPECT_EQ(primes, values_of(compacted, EventKind::item, "prime", "value"));
        EXPECT_EQ(primes, values_of(compacted, EventKind::item, "compacted", "value"));
        EXPECT_EQ(primes, values_of(proportion, EventKind::item, "prime", "value"));
        EXPECT_EQ(static_cast<long long>(primes.size()), (*listing.last(EventKind::result))["count"]);
        EXPECT_EQ(2u, compacted.all(EventKind::pause).size());
        const Recorder::Kept *share = proportion.last(EventKind::result);
        EXPECT_DOUBLE_EQ(primes.size() / static_cast<double>(limit), share->find("proportion")->real);
        EXPECT_NEAR(1 / std::log(limit), share->find("inverse_log")->real, 1e-12);
    }
}

// Fermat pseudoprimes by trial division and plain powering; every test of
// bases 3 and 5 carries the power base^(n-1) mod n.
TEST(PrimalityMethods, FermatPseudoprimesAgainstPlainPowering)
{
    for (int limit : {3, 340, 341, 10000, 100000}) {
        SCOPED_TRACE(limit);
        std::vector<long long> passed[3];
        for (long n = 3; n <= limit; n++)
            if (!prime_by_trial_division(n) && power_reference(2, n - 1, n) == 1) {
                passed[0].push_back(n);
                if (power_reference(3, n - 1, n) == 1)
                    passed[1].push_back(n);
                if (power_reference(3, n - 1, n) == 1 && power_reference(5, n - 1, n) == 1)
                    passed[2].push_back(n);
            }
        Recorder r;
        FermatPseudoprimes found = fermat_pseudoprimes(limit, r);
        const Recorder::Kept *result = r.last(EventKind::result);
        EXPECT_EQ(passed[0], list_of(result, "base_2"));
        EXPECT_EQ(passed[1], list_of(result, "bases_2_3"));
        EXPECT_EQ(passed[2], list_of(result, "bases_2_3_5"));
        EXPECT_EQ(static_cast<long long>(passed[2].size()), (*result)["bases_2_3_5_count"]);
        EXPECT_EQ(passed[2], found.bases_2_3_5);
        for (const char *what : {"multiple", "passes", "fails"})
            for (const Recorder::Kept *e : r.all(EventKind::step, what))
                EXPECT_EQ(power_reference((*e)["base"], (*e)["n"] - 1, (*e)["n"]), (*e)["power"]) << (*e)["n"];
    }
}

// The strong test's verdict, s and q, and each squaring's exponent and
// power, against powers taken afresh; a square root of 1 other than 1 and
// -1 yields a proper factor, also when it is the last power tested (4
// modulo 15, where 4^14 = 1). Every odd n up to 3000 to bases 2 and 3, and
// numbers that need 64-bit squares.
TEST(PrimalityMethods, StrongTestAgainstDirectPowering)
{
    std::vector<std::pair<long, long>> cases{{25326001, 2}, {25326001, 3}, {25326001, 5}, {25326001, 7},
                                             {2147483647, 2}, {2147483647, 2147483645}, {2147483617, 3},
                                             {1729, 1727},   {1373653, 2},    {1373653, 3},   {15, 4}};
    for (long n = 5; n <= 3001; n += 2)
        for (long a : {2L, 3L})
            cases.push_back({n, a});
    for (auto [n, a] : cases) {
        SCOPED_TRACE(std::to_string(n) + " to base " + std::to_string(a));
        long q;
        int s = odd_part(n, q);
        Recorder r;
        StrongTest t = strong_test(static_cast<int>(n), static_cast<int>(a), r);
        const Recorder::Kept *result = r.last(EventKind::result);
        EXPECT_EQ(s, (*result)["s"]);
        EXPECT_EQ(q, (*result)["q"]);
        EXPECT_EQ(strong_probable_prime(n, a) ? "probable prime" : "composite", result->find("verdict")->text);
        EXPECT_EQ(strong_probable_prime(n, a), t.passes);
        for (const Recorder::Kept *e : r.all(EventKind::step, "squaring")) {
            EXPECT_EQ(q << (*e)["k"], (*e)["exponent"]);
            EXPECT_EQ(static_cast<long long>(power_reference(a, q << (*e)["k"], n)), (*e)["power"]);
        }
        for (const Recorder::Kept *e : r.all(EventKind::step, "squarings_exhausted"))
            EXPECT_EQ(static_cast<long long>(power_reference(a, n - 1, n)), (*e)["fermat"]);
        for (const Recorder::Kept *e : r.all(EventKind::step))
            if ((e->what == "one_reached" || (*e)["fermat"] == 1) && e->find("factor") != nullptr) {
                EXPECT_TRUE((*e)["factor"] > 1 && (*e)["factor"] < n && n % (*e)["factor"] == 0);
            }
    }
}

// The odd composites that pass the strong test to base 2, by trial
// division and direct powering: those strong_pseudoprimes_base_2 lists and
// those strong_test_odd_below_100 finds among its verdicts.
TEST(PrimalityMethods, StrongPseudoprimesAndVerdictsAgainstDirectPowering)
{
    for (int limit : {4, 100, 2047, 2049, 300000}) {
        SCOPED_TRACE(limit);
        std::vector<long long> pseudoprimes, verdicts;
        long passed = 0;
        for (long n = 3; n < limit; n += 2) {
            bool passes = strong_probable_prime(n, 2);
            passed += passes;
            verdicts.push_back(passes);
            if (passes && !prime_by_trial_division(n))
                pseudoprimes.push_back(n);
        }
        Recorder listed, tested;
        EXPECT_EQ(pseudoprimes, strong_pseudoprimes(limit, listed));
        EXPECT_EQ(pseudoprimes, list_of(listed.last(EventKind::result), "strong_base_2"));
        OddVerdicts odd = strong_test_odd(limit, tested);
        EXPECT_EQ(pseudoprimes, list_of(tested.last(EventKind::result), "strong_base_2"));
        EXPECT_EQ(passed, (*tested.last(EventKind::result))["count"]);
        EXPECT_EQ(static_cast<int>(verdicts.size()), odd.tested);
        std::vector<long long> reported;
        for (const Recorder::Kept *e : tested.all(EventKind::step))
            reported.push_back(e->what == "probable_prime");
        EXPECT_EQ(verdicts, reported);
    }
}

// Euler's polynomial and others: the values found in the table are those
// prime by trial division; the first one that is not, and its least factor.
TEST(PrimalityMethods, SpiralPolynomialValuesAgainstTrialDivision)
{
    struct {
        int b, c;
    } rows[] = {{1, 41}, {-79, 1601}, {210, 0}, {-290, 10000}, {1, 8357}, {-40, 400}};
    for (auto row : rows) {
        SCOPED_TRACE(std::to_string(row.b) + ", " + std::to_string(row.c));
        std::vector<long long> primes;
        long long first = -1;
        for (long n = 0; n <= 40; n++) {
            long v = n * n + row.b * n + row.c;
            if (prime_by_trial_division(v))
                primes.push_back(v);
            else if (first < 0)
                first = n;
        }
        Recorder r;
        SpiralValues found = spiral_coordinates(row.b, row.c, r);
        EXPECT_EQ(20880, found.points);
        EXPECT_EQ(20880u, r.all(EventKind::item, "point").size());
        EXPECT_EQ(primes, list_of(r.last(EventKind::result), "prime_values"));
        EXPECT_EQ(first, found.first_non_prime);
        for (const Recorder::Kept *e : r.all(EventKind::item, "non_prime_value")) {
            long long v = (*e)["value"], d = 2;
            while (v >= 2 && v % d != 0)
                d++;
            if (v >= 2) {
                EXPECT_EQ(d, (*e)["factor"]) << v;
            }
        }
    }
}

// One line of --json read as JSON, as far as the view writes it: an object
// whose values are numbers, strings, null or arrays; its numbers kept, and
// its values by key as written. `fail` when it is not valid JSON.
struct JsonLine {
    std::vector<double> numbers;
    std::map<std::string, std::string> fields;
    const char *at;
    bool fail = false;

    bool take(char c)
    {
        at += std::strspn(at, " ");
        return *at == c ? (++at, true) : false;
    }
    std::string text()
    {
        std::string out;
        fail |= !take('"');
        while (!fail && *at != '"') {
            int length = *at == '\\' ? 2 : 1;
            fail |= static_cast<unsigned char>(*at) < 0x20 ||
                    (length == 2 && (at[1] == '\0' || std::strchr("\"\\/bfnrtu", at[1]) == nullptr));
            if (!fail) {
                out.append(at, length);
                at += length;
            }
        }
        at += !fail;
        return out;
    }
    void value()
    {
        static const std::regex number("-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][-+]?[0-9]+)?");
        std::cmatch match;
        at += std::strspn(at, " ");
        if (*at == '"') {
            text();
        } else if (take('[')) {
            if (!take(']')) {
                do
                    value();
                while (!fail && take(','));
                fail |= !take(']');
            }
        } else if (std::strncmp(at, "null", 4) == 0) {
            at += 4;
        } else if (std::regex_search(at, match, number, std::regex_constants::match_continuous)) {
            numbers.push_back(std::strtod(at, nullptr));
            at += match.length();
        } else {
            fail = true;
        }
    }
    explicit JsonLine(const std::string &line) : at(line.c_str())
    {
        fail = !take('{');
        do {
            std::string key = text();
            fail |= !take(':');
            at += std::strspn(at, " ");
            const char *start = at;
            value();
            fields[key] = std::string(start, at);
        } while (!fail && take(','));
        fail |= !take('}') || *at != '\0';
    }
};

// A program of the suite run to its end with these arguments and this
// environment.
static ProgramRun run_with(const char *program, std::vector<std::string> args, std::vector<std::string> env = {})
{
    RunOptions options;
    options.args = std::move(args);
    options.env = std::move(env);
    return run_program(std::string(SUITE_BIN_DIR "/") + program, options);
}

// Every line of --json is one JSON object, the last one the result with the
// fields named; every number of the classic trace of the same run is among
// the events' values (a real to the three decimals printed). The bases in
// the labels of the count lines, and "aexpo = 1" and "aexpo = -1", are text.
TEST(PrimalityViews, JsonHoldsEveryNumberOfTheTrace)
{
    const std::vector<std::string> strong_test = {"n", "a", "s", "q", "verdict"};
    struct {
        const char *program;
        std::vector<std::string> args, fields;
    } rows[] = {
        {"prime_listing", {"100"}, {"count"}},
        {"prime_listing_compacted", {"100"}, {"count"}},
        {"prime_proportion", {}, {"count", "proportion"}},
        {"pseudoprimes_bases_2_3_5",
         {},
         {"base_2", "base_2_count", "bases_2_3", "bases_2_3_count", "bases_2_3_5", "bases_2_3_5_count"}},
        {"strong_pseudoprimes_base_2", {}, {"strong_base_2", "count"}},
        {"strong_test_trace_1729", {}, strong_test},
        {"strong_test_trace_1729", {"2047"}, strong_test},
        {"strong_test_trace_1729", {"9"}, strong_test},
        {"strong_test_trace_1729", {"13", "5"}, strong_test},
        {"strong_test_odd_below_100", {}, {"count"}},
        {"spiral_coordinates_console", {"-40", "400"}, {"count"}},
    };
    static const std::regex literal("avec 2(, 3)?( et [35])?|aexpo = -?1"), number("-?[0-9]+(\\.[0-9]+)?");
    for (auto &row : rows) {
        SCOPED_TRACE(std::string(row.program) + (row.args.empty() ? "" : " " + row.args[0]));
        std::vector<std::string> args = row.args;
        args.push_back("--json");
        std::istringstream lines(run_with(row.program, args).out);
        std::vector<double> numbers;
        std::string line, last;
        while (std::getline(lines, line)) {
            JsonLine parsed(line);
            ASSERT_FALSE(parsed.fail) << line;
            numbers.insert(numbers.end(), parsed.numbers.begin(), parsed.numbers.end());
            last = line;
        }
        JsonLine result(last);
        EXPECT_EQ("\"result\"", result.fields["event"]);
        for (const std::string &field : row.fields)
            EXPECT_EQ(1u, result.fields.count(field)) << field;

        std::sort(numbers.begin(), numbers.end());
        std::string classic = std::regex_replace(run_with(row.program, row.args).out, literal, "");
        for (std::sregex_iterator i(classic.begin(), classic.end(), number), end; i != end; ++i) {
            double v = std::stod(i->str()), near = i->str().find('.') == std::string::npos ? 0 : 0.0005;
            auto at = std::lower_bound(numbers.begin(), numbers.end(), v - near);
            EXPECT_TRUE(at != numbers.end() && *at <= v + near) << i->str() << " is in no event";
        }
    }
}

// --explain on the largest input of each program in English, and in French
// on one ten times smaller where the run takes long: at most 20 kB, no line
// wider than 80 columns, and the last lines state the result: 664579 primes
// up to 10^7 (a proportion of 0.066) and 78498 up to 10^6 (0.078); 750
// Fermat pseudoprimes to base 2 up to 10^7 and 245 up to 10^6; 46 strong
// ones below 10^6 and 16 below 10^5; Euler's polynomial failing at 1681 = 41².
TEST(PrimalityViews, ExplanationsAreBoundedAndEndWithTheConclusion)
{
    struct {
        const char *program;
        std::vector<std::string> args;
        const char *concluded;
        std::vector<std::string> french_args; // when not the same
        const char *french_concluded;
    } rows[] = {
        {"prime_listing", {"10000000"}, "664579", {"1000000"}, "78498"},
        {"prime_listing_compacted", {"10000000"}, "664579", {"1000000"}, "78498"},
        {"prime_proportion", {"10000000"}, "0\\.066", {"1000000"}, "0\\.078"},
        {"pseudoprimes_bases_2_3_5", {"10000000"}, "750", {"1000000"}, "245"},
        {"strong_pseudoprimes_base_2", {"10000000"}, "2047 = 23 · 89", {"1000000"}, "2047 = 23 · 89"},
        {"strong_test_odd_below_100", {"1000000"}, "46", {"100000"}, "16"},
        {"strong_test_trace_1729", {"2147483647", "2147483645"}, "2147483647", {}, "2147483647"},
        {"spiral_coordinates_console", {}, "1681 = 41²", {}, "1681 = 41²"},
    };
    for (auto &row : rows) {
        std::string english;
        for (const char *language : {"en", "fr"}) {
            bool french = language[0] == 'f';
            std::vector<std::string> args = french && !row.french_args.empty() ? row.french_args : row.args;
            args.push_back("--explain");
            SCOPED_TRACE(std::string(row.program) + " " + args[0] + " in " + language);
            std::string out = run_with(row.program, args, {std::string("LANGUAGE=") + language, "LC_ALL"}).out;
            EXPECT_LE(out.size(), 20000u);
            std::istringstream lines(out);
            for (std::string line; std::getline(lines, line);) {
                long width = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
                EXPECT_LE(width, 80) << line;
            }
            std::string end = out.substr(out.size() - std::min<size_t>(out.size(), 900));
            std::string concluded = french ? row.french_concluded : row.concluded;
            EXPECT_TRUE(std::regex_search(end, std::regex("\\b" + concluded))) << end;
            // The heading, in the language asked for (its numbers aside).
            std::string heading = std::regex_replace(out.substr(0, out.find('\n')), std::regex("[0-9]+"), "#");
            if (english.empty())
                english = heading;
            else
                EXPECT_NE(english, heading) << "no French";
        }
    }
}
