// The strong (Miller-Rabin) test. With n - 1 = 2^s * q, q odd, n passes to
// base a when a^q = 1 or one of a^q, a^(2q), ..., a^(2^(s-1) q) is n - 1
// (mod n). A prime always passes, since modulo a prime the only square roots
// of 1 are 1 and -1; a square of 1 reached from another value proves n
// composite.
#include "arith/arith.hpp"
#include "primality.hpp"
#include <cstdint>

// n - 1 = 2^s * q with q odd, s >= 1 (n odd, n >= 3): returns q, sets s.
static int odd_part(int n, int &s)
{
    int q = n - 1;
    s = 0;
    while (q % 2 == 0) {
        q /= 2;
        s++;
    }
    return q;
}

// x*x reduced modulo n; the square of a residue above 46340 needs 64 bits.
static int square_mod(int x, int n)
{
    int64_t square = static_cast<int64_t>(x) * x;
    return static_cast<int>(square >= n ? square % n : square);
}

StrongTest strong_test_of(int n, int a)
{
    StrongTest t{};
    t.q = odd_part(n, t.s);
    t.power = mod_pow(a, t.q, n);
    t.passes = t.power == 1 || t.power == n - 1;
    // Square up to s - 1 times; after each squaring 1 is checked before -1:
    // a 1 that did not come from -1 ends the test.
    while (!t.passes && t.squarings < t.s - 1) {
        t.power = square_mod(t.power, n);
        t.squarings++;
        if (t.power == 1)
            break;
        t.passes = t.power == n - 1;
    }
    return t;
}

std::vector<long long> strong_pseudoprimes(int limit, Steps &out)
{
    out.run("strong_pseudoprimes", "limit", limit, "a", 2);
    // Compositeness is read from the sieve; nothing is reported until the
    // search is over.
    std::vector<int> prime_table = sieve_primes(limit);
    std::vector<long long> strong_list;
    for (int n = 3; n < limit; n += 2)
        if (strong_test_of(n, 2).passes && prime_table[n] == 0)
            strong_list.push_back(n);

    long long count = static_cast<long long>(strong_list.size());
    out.phase("found", "count", count);
    for (long long n : strong_list)
        out.item("strong_base_2", n);
    out.result("strong_pseudoprimes", "strong_base_2", strong_list, "count", count);
    out.pause();
    return strong_list;
}

StrongTest strong_test(int n, int a, Steps &out)
{
    out.run("strong_test", "n", n, "a", a);
    StrongTest t{};
    t.q = odd_part(n, t.s);
    out.step("odd_part", "n_minus_1", n - 1, "s", t.s, "q", t.q);
    t.power = mod_pow(a, t.q, n);
    t.passes = t.power == 1 || t.power == n - 1;
    if (t.passes) {
        out.step("first_power_decides", "exponent", t.q, "power", t.power, "n", n);
    } else {
        out.step("first_power", "exponent", t.q, "power", t.power);
        // Square up to s - 1 times: reaching 1 first proves n composite, the
        // value before it being a square root of 1 other than 1 and -1, which
        // shares a proper factor gcd(root - 1, n) with n; reaching -1 lets n
        // pass.
        while (t.squarings < t.s - 1) {
            int root = t.power;
            t.power = square_mod(t.power, n);
            t.squarings++;
            long long exponent = static_cast<long long>(t.q) << t.squarings;
            out.step("squaring", "k", t.squarings, "exponent", exponent, "power", t.power);
            if (t.power == 1) {
                out.step("one_reached", "k", t.squarings, "n", n, "root", root, "factor", gcd(root - 1, n));
                break;
            }
            if (t.power == n - 1) {
                t.passes = true;
                out.step("minus_one_reached", "k", t.squarings, "n", n);
                break;
            }
        }
        // Neither 1 nor -1 after every squaring: its square a^(n-1) is either
        // not 1, so that n fails Fermat's test too, or 1 reached from a
        // square root of 1 other than 1 and -1.
        if (t.power != 1 && !t.passes) {
            int fermat = square_mod(t.power, n);
            if (fermat == 1)
                out.step("squarings_exhausted", "n", n, "power", t.power, "fermat", fermat, "factor",
                         gcd(t.power - 1, n));
            else
                out.step("squarings_exhausted", "n", n, "power", t.power, "fermat", fermat, "factor", Missing{});
        }
    }
    out.result("strong_test", "n", n, "a", a, "s", t.s, "q", t.q, "verdict", t.passes ? "probable prime" : "composite");
    out.pause();
    return t;
}

OddVerdicts strong_test_odd(int limit, Steps &out)
{
    out.run("strong_test_odd", "limit", limit, "a", 2);
    // No sieve: the verdicts come from the test alone. Below 2047, the least
    // strong pseudoprime to base 2, they agree with primality.
    OddVerdicts v{};
    std::vector<long long> passed_from_2047;
    for (int n = 3; n < limit; n += 2) {
        StrongTest t = strong_test_of(n, 2);
        v.tested++;
        if (t.passes) {
            v.passed++;
            out.step("probable_prime", "n", n, "s", t.s, "q", t.q, "k", t.squarings, "power", t.power);
            if (n >= 2047)
                passed_from_2047.push_back(n);
        } else {
            out.step("composite", "n", n, "s", t.s, "q", t.q, "k", t.squarings, "power", t.power);
        }
    }
    // Which of those that passed are composite, for the conclusion: the
    // sieve is needed only from 2047 on.
    if (!passed_from_2047.empty()) {
        std::vector<int> prime_table = sieve_primes(limit);
        for (long long n : passed_from_2047)
            if (prime_table[n] == 0)
                v.pseudoprimes.push_back(n);
    }
    out.result("strong_test_odd", "tested", v.tested, "count", v.passed, "composites", v.tested - v.passed,
               "strong_base_2", v.pseudoprimes);
    out.pause();
    return v;
}
