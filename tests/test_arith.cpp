// The arithmetic toolkit against references written here: primes and prime
// powers by trial division up to the square root, powers by plain repeated
// multiplication, divisors by search, and the values worked out by hand.
#include "arith/arith.hpp"
#include "arith/polynomial.hpp"
#include "harness.hpp"
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

static int prime_power_reference(int n)
{
    return static_cast<int>(prime_of_power(n));
}

static int prime_reference(int n)
{
    return prime_by_trial_division(n) ? n : 0;
}

// A table of bound + 1 entries, each as the reference gives it (entries 0 and
// 1 are 0 in both tables); empty below 0.
static ::testing::AssertionResult table_is(const std::vector<int> &table, int bound, int (*expected)(int))
{
    if (table.size() != static_cast<size_t>(bound < 0 ? 0 : bound + 1))
        return ::testing::AssertionFailure() << table.size() << " entries";
    for (int i = 0; i <= bound; i++)
        if (table[i] != expected(i))
            return ::testing::AssertionFailure() << "entry " << i << " is " << table[i] << ", expected "
                                                 << expected(i);
    return ::testing::AssertionSuccess();
}

static std::vector<int> non_zero_entries(const std::vector<int> &table)
{
    std::vector<int> values;
    for (int entry : table)
        if (entry != 0)
            values.push_back(entry);
    return values;
}

// Bounds at the edges of the sieve: below 2 there is no prime, up to 3
// nothing is crossed out, 4 and 49 are the first squares whose pass runs,
// 48/50 sit either side of 49, and 1021 is a prime bound.
TEST(SievePrimes, MatchesTrialDivision)
{
    for (int bound : {-5, 0, 1, 2, 3, 4, 5, 8, 9, 24, 25, 48, 49, 50, 100, 1000, 1021, 2000})
        EXPECT_TRUE(table_is(sieve_primes(bound), bound, prime_reference)) << "sieve_primes(" << bound << ")";
}

TEST(SievePrimes, CountsKnownValues)
{
    struct {
        int bound, primes;
    } rows[] = {{100, 25}, {1000, 168}, {2000, 303}, {131072, 12251}, {500000, 41538}};
    for (auto row : rows)
        EXPECT_EQ(row.primes, static_cast<int>(non_zero_entries(sieve_primes(row.bound)).size())) << row.bound;
}

TEST(PrimePowerTable, UpTo40ListsEachPrimeOncePerPower)
{
    std::vector<int> expected{2, 3, 2, 5, 7, 2, 3, 11, 13, 2, 17, 19, 23, 5, 3, 29, 31, 2, 37};
    EXPECT_EQ(expected, non_zero_entries(prime_power_table(40)));
}

TEST(PrimePowerTable, UpTo100)
{
    std::vector<int> table = prime_power_table(100);
    EXPECT_EQ(35u, non_zero_entries(table).size());
    struct {
        int power, prime;
    } powers[] = {{4, 2}, {8, 2}, {16, 2}, {32, 2}, {64, 2}, {9, 3}, {27, 3}, {81, 3}, {25, 5}, {49, 7}};
    for (auto row : powers)
        EXPECT_EQ(row.prime, table[row.power]) << row.power;
    // Composites that are no prime power, including squares of composites.
    for (int n : {6, 12, 36, 72, 96, 100})
        EXPECT_EQ(0, table[n]) << n;
}

// Every entry against the reference; the product of the entries up to 20 is
// lcm(1, ..., 20).
TEST(PrimePowerTable, MatchesReference)
{
    for (int bound : {0, 1, 3, 4, 8, 9, 31, 32, 100, 1024, 2000})
        EXPECT_TRUE(table_is(prime_power_table(bound), bound, prime_power_reference))
            << "prime_power_table(" << bound << ")";
    uint64_t lcm = 1;
    for (int entry : non_zero_entries(prime_power_table(20)))
        lcm *= entry;
    EXPECT_EQ(232792560u, lcm);
}

// The non-zero entries move to `first` onward in their order, every other
// entry becomes 0, and their number is returned.
TEST(CompactTable, MovesTheEntriesToTheFrontInOrder)
{
    struct {
        const char *what;
        std::vector<int> table;
        int first;
    } rows[] = {
        {"the primes up to 30, from 0", sieve_primes(30), 0},
        {"the prime powers up to 40, from 1", prime_power_table(40), 1},
        {"the primes up to 2, from 0", sieve_primes(2), 0},
        {"no entry at all", std::vector<int>(5, 0), 1},
    };
    for (auto &row : rows) {
        std::vector<int> values = non_zero_entries(row.table);
        std::vector<int> expected(row.table.size(), 0);
        std::copy(values.begin(), values.end(), expected.begin() + row.first);
        EXPECT_EQ(static_cast<int>(values.size()), compact_table(row.table, row.first)) << row.what;
        EXPECT_EQ(expected, row.table) << row.what;
    }
}

TEST(IsPowerOf, KnownValues)
{
    struct {
        int n, p;
        bool expected;
    } rows[] = {
        {1, 2, false},         {2, 2, true},     {12, 2, false},      {27, 3, true},         {6, 3, false},
        {1024, 2, true},       {1000, 10, true}, {1 << 30, 2, true},  {1162261467, 3, true}, // 3^19
        {774840978, 3, false},                                                               // 2 * 3^18
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, is_power_of(row.n, row.p)) << row.n << ", " << row.p;
}

// is_prime stops at the square root; division by every d from 2 to n - 1
// gives the same answers over the whole range the Gaussian pictures test
// (norms up to 2 * 119^2 = 28322), and near 2^31 the bound does not overflow.
TEST(IsPrime, SquareRootBoundAgreesWithFullDivision)
{
    auto full_division = [](int n) {
        if (n < 2)
            return false;
        for (int d = 2; d < n; d++)
            if (n % d == 0)
                return false;
        return true;
    };
    for (int n = -3; n <= 28322; n++)
        ASSERT_EQ(full_division(n), is_prime(n)) << n;
    struct {
        int n;
        bool expected;
    } rows[] = {
        {28561, false},         // 169^2 = 13^4: the divisor 13 lies below the root
        {2147483647, true},     // 2^31 - 1
        {2147395600, false},    // 46340^2
        {46337 * 46337, false}, // the square of the largest prime below the root of 2^31
        {2147483629, true},     // the largest prime below 2^31 - 1
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, is_prime(row.n)) << row.n;
}

// is_prime_64 against trial division on every number below 10^5 and on
// windows around 2^32 and 2^40 (divisors up to 2^20), then numbers known by
// heart: strong pseudoprimes to many prime bases, squares of large primes,
// and the largest primes below 2^62 and 2^64.
TEST(IsPrime64, AgreesWithTrialDivisionAndKnownNumbers)
{
    for (uint64_t n = 0; n < 100000; n++)
        ASSERT_EQ(prime_by_trial_division(static_cast<long>(n)), is_prime_64(n)) << n;
    for (uint64_t centre : {uint64_t{1} << 32, uint64_t{1} << 40})
        for (uint64_t n = centre - 300; n <= centre + 300; n++)
            ASSERT_EQ(prime_by_trial_division(static_cast<long>(n)), is_prime_64(n)) << n;
    struct {
        uint64_t n;
        bool prime;
    } rows[] = {
        {2047, false},                     // 23 * 89, strong pseudoprime to base 2
        {1373653, false},                  // 829 * 1657, to bases 2 and 3
        {3215031751, false},               // 151 * 751 * 28351, to bases 2, 3, 5 and 7
        {3825123056546413051ULL, false},   // 149491 * 747451 * 34233211, to bases 2 .. 23
        {18446744030759878681ULL, false},  // (2^32 - 5)^2
        {4611686014132420609ULL, false},   // (2^31 - 1)^2
        {2305843009213693951ULL, true},    // 2^61 - 1
        {4611686018427387847ULL, true},    // 2^62 - 57
        {4611686018427387903ULL, false},   // 2^62 - 1 = 3 * 715827883 * 2147483647
        {18446744073709551557ULL, true},   // 2^64 - 59
        {18446744073709551615ULL, false},  // 2^64 - 1
    };
    for (auto row : rows)
        EXPECT_EQ(row.prime, is_prime_64(row.n)) << row.n;
}

TEST(ModPow, KnownValues)
{
    struct {
        const char *why;
        int a, e, m, expected;
    } rows[] = {
        {"2^10 = 1024", 2, 10, 1000, 24},
        {"Fermat for the prime 5", 3, 4, 5, 1},
        {"a large exponent", 2, 100, 10403, 3940},
        {"exponent 0", 5, 0, 7, 1},
        {"a negative exponent", 5, -3, 7, 1},
        {"exponent 0, modulus 1", 5, 0, 1, 1},
        {"modulus 1", 5, 3, 1, 0},
        {"base 0", 0, 5, 7, 0},
        {"the unreduced base is reduced after the product", 10, 1, 7, 3},
        {"the square 99998^2 = 9999600004 formed exactly", 99998, 2, 99999, 1},
        {"a 31-bit base squared", INT_MAX, 2, 99991, static_cast<int>(power_reference(INT_MAX, 2, 99991))},
        {"341 = 11 * 31 passes base 2", 2, 340, 341, 1},
        {"2047 = 23 * 89: 2^1023", 2, 1023, 2047, 1},
        {"65537 is prime", 3, 65536, 65537, 1},
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, mod_pow(row.a, row.e, row.m)) << row.why;
}

// Moduli up to 99999, where the squares of residues need 64 bits, and bases
// both reduced and far above the modulus.
TEST(ModPow, AgreesWithTheReferencePower)
{
    for (int m : {2, 3, 41, 1729, 10403, 32623, 65536, 99989, 99999})
        for (int a : {0, 1, 2, 3, 5, m - 1, m, m + 1, 123456789, INT_MAX})
            for (int e : {1, 2, 3, 7, 64, 255, 1000, 4097})
                ASSERT_EQ(power_reference(a, e, m), static_cast<uint64_t>(mod_pow(a, e, m)))
                    << a << "^" << e << " mod " << m;
}

TEST(Gcd, SignRulesOfTruncatingEuclid)
{
    struct {
        int a, b, expected;
    } rows[] = {
        {12, 18, 6},           {18, 12, 6},       {7, 0, 7},         {0, 9, 9},        {0, 0, 0},
        {-7, 0, -7},           {-1, 10403, -1},   {-12, 18, 6},      {12, -18, -6},    {10403, 101, 101},
        {INT_MIN, 0, INT_MIN}, {INT_MIN, -1, -1}, {-1, INT_MIN, -1}, {INT_MIN, 6, -2},
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, gcd(row.a, row.b)) << "gcd(" << row.a << ", " << row.b << ")";
}

// The largest d dividing both, found by search; |b| when a is 0.
static int gcd_reference(int a, int b)
{
    a = a < 0 ? -a : a;
    b = b < 0 ? -b : b;
    if (a == 0 || b == 0)
        return a + b;
    int d = a < b ? a : b;
    while (a % d != 0 || b % d != 0)
        d--;
    return d;
}

TEST(GcdAbs, IsTheGcdOfTheAbsoluteValues)
{
    EXPECT_EQ(6, gcd_abs(-12, 18));
    EXPECT_EQ(5, gcd_abs(0, -5));
    EXPECT_EQ(0, gcd_abs(0, 0));
    for (int a = -40; a <= 40; a++)
        for (int b = -40; b <= 40; b++)
            ASSERT_EQ(gcd_reference(a, b), gcd_abs(a, b)) << "gcd_abs(" << a << ", " << b << ")";
}

// The generator against the C library's own srand and rand, from seeds at
// the edges of 32 bits (0 acts as 1; from 2^31 on the seed reads negative).
TEST(Random, DrawsWhatTheCLibraryDraws)
{
    for (uint32_t seed : {0u, 1u, 2u, 12345u, 1765432109u, 2147483647u, 2147483648u, 3000000000u, 4294967295u}) {
        srand(seed);
        seed_random(seed);
        for (int i = 0; i < 2000; i++)
            ASSERT_EQ(rand(), next_random()) << "seed " << seed << ", draw " << i;
    }
}

// The b and c that keep every value of n*n + b*n + c (n = 0 .. last) within
// low .. high: the spiral's listing (n up to 40, the table 0 .. 10000) and
// the Ulam plot (n up to 39, the numbers 1 .. 20881). At the ends of each
// range the values, computed here one by one, still fit; one step beyond,
// they do not.
TEST(PolynomialRange, KeepsEveryValueWithinTheRange)
{
    struct {
        int last;
        long long low, high, b_low, b_high;
        long long b, c_low, c_high; // one b and its c
    } rows[] = {
        {40, 0, 10000, -290, 210, -79, 1560, 10000}, // least value n*n - 79n = -1560 at n = 39, 40
        {40, 0, 10000, -290, 210, 210, 0, 0},        // 40*40 + 210*40 = 10000
        {39, 1, 20881, -574, 496, -79, 1561, 20881},
        {39, 1, 20881, -574, 496, 496, 1, 16},       // 20881 - 1521 - 39*496 = 16
        {39, 1, 20881, -574, 496, 1, 1, 19321},
        {3, 0, 5, -4, -2, -3, 2, 5},                 // 0, -2, -2, 0 for b = -3
    };
    auto fits = [](int last, long long b, long long c, long long low, long long high) {
        for (long long n = 0; n <= last; n++)
            if (n * n + b * n + c < low || n * n + b * n + c > high)
                return false;
        return true;
    };
    auto has_c = [&](int last, long long b, long long low, long long high) {
        IntegerRange c = polynomial_c_range(b, last, low, high);
        return c.low <= c.high && fits(last, b, c.low, low, high) && fits(last, b, c.high, low, high);
    };
    for (const auto &row : rows) {
        SCOPED_TRACE("last " + std::to_string(row.last) + ", b = " + std::to_string(row.b));
        IntegerRange b = polynomial_b_range(row.last, row.low, row.high);
        EXPECT_EQ(row.b_low, b.low);
        EXPECT_EQ(row.b_high, b.high);
        EXPECT_TRUE(has_c(row.last, b.low, row.low, row.high) && has_c(row.last, b.high, row.low, row.high));
        EXPECT_FALSE(has_c(row.last, b.low - 1, row.low, row.high) || has_c(row.last, b.high + 1, row.low, row.high));
        IntegerRange c = polynomial_c_range(row.b, row.last, row.low, row.high);
        EXPECT_EQ(row.c_low, c.low);
        EXPECT_EQ(row.c_high, c.high);
        EXPECT_TRUE(fits(row.last, row.b, c.low, row.low, row.high) && fits(row.last, row.b, c.high, row.low, row.high));
        EXPECT_FALSE(fits(row.last, row.b, c.low - 1, row.low, row.high) ||
                     fits(row.last, row.b, c.high + 1, row.low, row.high));
    }
    // A range narrower than the least spread (2, at b = -3) leaves no b.
    IntegerRange none = polynomial_b_range(3, 0, 1);
    EXPECT_GT(none.low, none.high);
}
