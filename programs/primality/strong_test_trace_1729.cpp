// The strong test on one odd number, step by step; built in, to base 2 on
// the Carmichael number 1729 = 7 * 13 * 19. 1728 = 2^6 * 27; the trace shows
// 2^27 = 645 (mod 1729), then the squarings 645^2 = 1065 and 1065^2 = 1. So
// 1065 is a square root of 1 other than 1 and -1, which no prime modulus
// has: 1729 is composite, though it passes the Fermat test to every base
// prime to it.
#include "arith/arith.hpp"
#include "arith/parameters.hpp"
#include "primality.hpp"
#include <cstdint>
#include <string>

const int number = 1729; // the number under test
const int base = 2;      // the base of the test

int main(int argc, char **argv)
{
    Parameters p(argc, argv);
    int n = p.integer("n", "the odd number under test", number, 5, INT32_MAX, "n odd, 5 <= n <= 2147483647");
    p.require(n % 2 == 1, "n", "an odd integer from 5 to 2147483647, not \"" + std::to_string(n) + "\"");
    int a = p.integer("a", "the base of the test", base, 2, n - 2, "2 <= a <= n - 2");
    p.done();

    strong_test_trace(n, a);
    wait_enter();
    return 0;
}
