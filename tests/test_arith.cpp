// The arithmetic toolkit against references written here: primes and prime
// powers by trial division up to the square root, powers by plain repeated
// multiplication, divisors by search, and the values worked out by hand.
#include "arith/arith.hpp"
#include "harness.hpp"
#include <climits>
#include <cstdint>
#include <vector>

// The table the toolkit fills. The programs start with it all zero and fill
// it once; each case here starts from that state too.
const int table_size = 2048;
int prime_table[table_size];

// Marks the entries that a fill must leave alone (0, 1 and above the bound).
const int untouched = -7;


// p when n = p^k (k >= 1), else 0: divide out the least prime factor.
static int prime_power_reference(int n)
{
    if (n < 2)
        return 0;
    int p = 2;
    while (n % p != 0)
        p++;
    while (n % p == 0)
        n /= p;
    return n == 1 ? p : 0;
}

class TableFill : public ::testing::Test
{
  protected:
    void SetUp() override { clear_table(); }

    static void clear_table()
    {
        for (int &entry : prime_table)
            entry = 0;
    }

    // The table as a fill with this bound must leave it: 0 and 1 and every
    // entry above the bound keep a sentinel written beforehand.
    static void mark_outside(int bound)
    {
        for (int i = 0; i < table_size; i++)
            if (i < 2 || i > bound)
                prime_table[i] = untouched;
    }

    static ::testing::AssertionResult table_is(int bound, int (*expected)(int))
    {
        for (int i = 0; i < table_size; i++) {
            int want = (i < 2 || i > bound) ? untouched : expected(i);
            if (prime_table[i] != want)
                return ::testing::AssertionFailure()
                       << "entry " << i << " is " << prime_table[i] << ", expected " << want;
        }
        return ::testing::AssertionSuccess();
    }

    static std::vector<int> non_zero_entries(int bound)
    {
        std::vector<int> values;
        for (int i = 0; i <= bound; i++)
            if (prime_table[i] != 0)
                values.push_back(prime_table[i]);
        return values;
    }
};

// Bounds at the edges of the sieve: below 2 nothing is written, up to 3
// nothing is crossed out, 4 and 49 are the first squares whose pass runs,
// 48/50 sit either side of 49, and 1021 is a prime bound, 2000 the largest.
TEST_F(TableFill, SieveMatchesTrialDivisionAndWritesOnlyTwoToBound)
{
    for (int bound : {-5, 0, 1, 2, 3, 4, 5, 8, 9, 24, 25, 48, 49, 50, 100, 1000, 1021, 2000}) {
        SCOPED_TRACE("sieve_primes(" + std::to_string(bound) + ")");
        clear_table();
        mark_outside(bound);
        sieve_primes(bound);
        EXPECT_TRUE(table_is(bound, [](int i) { return prime_by_trial_division(i) ? i : 0; }));
    }
}

TEST_F(TableFill, SieveCountsKnownValues)
{
    struct {
        int bound, primes;
    } rows[] = {{100, 25}, {1000, 168}, {2000, 303}};
    for (auto row : rows) {
        clear_table();
        sieve_primes(row.bound);
        EXPECT_EQ(row.primes, static_cast<int>(non_zero_entries(row.bound).size())) << row.bound;
    }
}

TEST_F(TableFill, PrimePowerTableUpTo40)
{
    mark_outside(40);
    prime_power_table(40);
    std::vector<int> expected{2, 3, 2, 5, 7, 2, 3, 11, 13, 2, 17, 19, 23, 5, 3, 29, 31, 2, 37};
    std::vector<int> got;
    for (int i = 2; i <= 40; i++)
        if (prime_table[i] != 0)
            got.push_back(prime_table[i]);
    EXPECT_EQ(expected, got);
    EXPECT_TRUE(table_is(40, prime_power_reference));
}

TEST_F(TableFill, PrimePowerTableUpTo100)
{
    prime_power_table(100);
    EXPECT_EQ(35u, non_zero_entries(100).size());
    struct {
        int power, prime;
    } powers[] = {{4, 2}, {8, 2}, {16, 2}, {32, 2}, {64, 2}, {9, 3}, {27, 3}, {81, 3}, {25, 5}, {49, 7}};
    for (auto row : powers)
        EXPECT_EQ(row.prime, prime_table[row.power]) << row.power;
    // Composites that are no prime power, including squares of composites.
    for (int n : {6, 12, 36, 72, 96, 100})
        EXPECT_EQ(0, prime_table[n]) << n;
}

// The product of the prime-power entries is lcm(1, ..., bound); each bound
// also checks every entry and that nothing outside 2 ... bound is written.
TEST_F(TableFill, PrimePowerTableMatchesReference)
{
    for (int bound : {0, 1, 3, 4, 8, 9, 31, 32, 100, 1024, 2000}) {
        SCOPED_TRACE("prime_power_table(" + std::to_string(bound) + ")");
        clear_table();
        mark_outside(bound);
        prime_power_table(bound);
        EXPECT_TRUE(table_is(bound, prime_power_reference));
    }
    clear_table();
    prime_power_table(20);
    uint64_t lcm = 1;
    for (int i = 2; i <= 20; i++)
        if (prime_table[i] != 0)
            lcm *= prime_table[i];
    EXPECT_EQ(232792560u, lcm);
}

TEST(IsPowerOf, KnownValues)
{
    struct {
        int n, p, expected;
    } rows[] = {
        {1, 2, 0},         {2, 2, 1},     {12, 2, 0},      {27, 3, 1},         {6, 3, 0},
        {1024, 2, 1},      {1000, 10, 1}, {1 << 30, 2, 1}, {1162261467, 3, 1}, // 3^19
        {774840978, 3, 0},                                                     // 2 * 3^18
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, is_power_of(row.n, row.p)) << row.n << ", " << row.p;
}

TEST(IsPrime, AgreesWithTrialDivisionToTheRoot)
{
    struct {
        int n, expected;
    } rows[] = {{1, 0}, {2, 1}, {3, 1}, {4, 0}, {9, 0}, {25, 0}, {97, 1}, {28322, 0}, {28199, 0}, {28319, 1}};
    for (auto row : rows)
        EXPECT_EQ(row.expected, is_prime(row.n)) << row.n;
    for (int n = 1; n <= 3000; n++)
        ASSERT_EQ(prime_by_trial_division(n) ? 1 : 0, is_prime(n)) << n;
}

// a^e mod m by e multiplications, each reduced at once; a is not negative.
static int power_reference(int a, int e, int m)
{
    uint64_t r = 1 % m;
    for (int i = 0; i < e; i++)
        r = r * (static_cast<uint64_t>(a) % m) % m;
    return static_cast<int>(r);
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
        {"a 31-bit base squared", INT_MAX, 2, 99991, power_reference(INT_MAX, 2, 99991)},
        {"341 = 11 * 31 passes base 2", 2, 340, 341, 1},
        {"2047 = 23 * 89: 2^1023", 2, 1023, 2047, 1},
        {"65537 is prime", 3, 65536, 65537, 1},
    };
    for (auto row : rows)
        EXPECT_EQ(row.expected, mod_pow(row.a, row.e, row.m)) << row.why;
}

// Moduli up to 99999, where the squares of residues need 64 bits, and bases
// both reduced and far above the modulus.
TEST(ModPow, AgreesWithRepeatedMultiplication)
{
    for (int m : {2, 3, 41, 1729, 10403, 32623, 65536, 99989, 99999})
        for (int a : {0, 1, 2, 3, 5, m - 1, m, m + 1, 123456789, INT_MAX})
            for (int e : {1, 2, 3, 7, 64, 255, 1000, 4097})
                ASSERT_EQ(power_reference(a, e, m), mod_pow(a, e, m)) << a << "^" << e << " mod " << m;
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
