// The primality programs, each run as a process with standard input at end of
// file. Short traces are typed from their documented text; the long listings
// are rebuilt here from trial division and a ring formula for the spiral, and
// their documented counts and boundary values are checked on their own.
#include "harness.hpp"
#include <string>
#include <vector>

static bool starts_with(const std::string &text, const std::string &head)
{
    return text.compare(0, head.size(), head) == 0;
}

static bool ends_with(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

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
    EXPECT_TRUE(starts_with(run.out, "2 3 5 7 11 "));
    EXPECT_TRUE(ends_with(run.out, " 499969 499973 499979 \n*** Nombre = 41538 \n"));
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
    EXPECT_TRUE(starts_with(run.out, "2 3 5 7 11 "));
    EXPECT_NE(std::string::npos, run.out.find(" 99971 99989 99991 \n*** Nombre =9592 \n2 3 5 "));
    EXPECT_TRUE(ends_with(run.out, " 99971 99989 99991 "));
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
    EXPECT_NE(std::string::npos, run.out.find(" 131063 131071 \n*** Nombre =12251 \n"));
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
    EXPECT_TRANSCRIPT(" aq =645\n  k=1 aexpo=1065   k=2 aexpo=1     k = 2 aexpo = 1 1729 non premier ",
                      run.out);
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
    EXPECT_TRUE(starts_with(run.out, " 3 FPP  5 FPP  7 FPP  9 non premier  11 FPP "));
    EXPECT_TRUE(ends_with(run.out, " 97 FPP  99 non premier "));
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

TEST(SpiralCoordinatesConsole, PrintsTheSpiralThenEulersPolynomial)
{
    std::string expected;
    for (int i = 0; i < 20880; i++) {
        int x, y;
        spiral_point(i, x, y);
        expected += " (" + std::to_string(x) + "  " + std::to_string(y) + ") ";
    }
    expected += "\n *** nb de points = 20880\n";
    for (int n = 0; n <= 40; n++) {
        int v = n * n + n + 41;
        expected += " (" + std::to_string(v);
        if (v < 5000 && prime_by_trial_division(v))
            expected += " " + std::to_string(v) + ")";
    }

    ProgramRun run = run_to_end(PROGRAM(spiral_coordinates_console));
    EXPECT_TRANSCRIPT(expected, run.out);
    EXPECT_TRUE(
        starts_with(run.out, " (0  0)  (1  0)  (1  -1)  (0  -1)  (-1  -1)  (-1  0)  (-1  1)  (0  1) "));
    EXPECT_NE(std::string::npos,
              run.out.find(" (-72  71) \n *** nb de points = 20880\n (41 41) (43 43) (47 47)"));
    EXPECT_TRUE(ends_with(run.out, " (1601 1601) (1681"));
}

// A trace that cannot be written must not end as a success.
TEST(PrimeListing, ReportsAnUnwritableTrace)
{
    RunOptions options;
    options.stdout_path = "/dev/full";
    ProgramRun run = run_program(PROGRAM(prime_listing), options);
    EXPECT_FALSE(run.timed_out);
    EXPECT_NE(0, run.status);
    EXPECT_NE("", run.err);
}

// No program reads its command line: arguments change nothing, and with
// standard input at its end every program finishes at once.
TEST(PrimalityPrograms, IgnoreArgumentsAndEndAtEndOfInput)
{
    const std::string programs[] = {
        PROGRAM(prime_listing),
        PROGRAM(prime_listing_compacted),
        PROGRAM(prime_proportion),
        PROGRAM(pseudoprimes_bases_2_3_5),
        PROGRAM(strong_pseudoprimes_base_2),
        PROGRAM(strong_test_trace_1729),
        PROGRAM(strong_test_odd_below_100),
        PROGRAM(spiral_coordinates_console),
    };
    for (const std::string &program : programs) {
        SCOPED_TRACE(program);
        ProgramRun plain = run_to_end(program);
        ProgramRun with_args = run_to_end(program, "", {"--help", "7", "-"});
        EXPECT_NE("", plain.out);
        EXPECT_TRUE(plain.out == with_args.out);
    }
}
