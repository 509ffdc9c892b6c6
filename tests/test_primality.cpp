// The primality programs, each run as a process with standard input at end of
// file. Short built-in traces are typed in; the listings are rebuilt here from
// trial division, the probable-prime tests from powers taken one by one, and
// the spiral from a ring formula; known counts and boundary values are
// checked on their own.
#include "harness.hpp"
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
