// The square spiral of the Ulam picture, in text: its 20881 points from the
// origin outward, then the values n*n + b*n + c for n = 0 ... 40 looked up in
// the prime table of 0 ... 10000. Built in is Euler's polynomial
// n*n + n + 41, prime for n = 0 ... 39 (41, 43, 47, ..., 1601), which fails
// at n = 40 with 1681 = 41^2. The program ends without a pause.
#include "arith/parameters.hpp"
#include "primality.hpp"
#include <string>

const int builtin_b = 1, builtin_c = 41; // Euler's n*n + n + 41

// How far the values n*n + b*n (n = 0 ... 40) spread.
static int spread(int b)
{
    int least, greatest;
    polynomial_extent(b, least, greatest);
    return greatest - least;
}

int main(int argc, char **argv)
{
    // A c that keeps every value inside the table exists when the values of
    // n*n + b*n spread over at most its bound. The spread is least at
    // b = -40, the same for b and -80 - b (n -> 40 - n), and grows with
    // |b + 40|, so the accepted b form a range around -40.
    int b_low = -40, b_high = -40;
    while (spread(b_low - 1) <= spiral_sieve_bound)
        b_low--;
    while (spread(b_high + 1) <= spiral_sieve_bound)
        b_high++;

    Parameters p(argc, argv);
    int b = p.integer("b", "the coefficient of n in n*n + b*n + c", builtin_b, b_low, b_high);
    int least, greatest;
    polynomial_extent(b, least, greatest);
    int c_low = -least, c_high = spiral_sieve_bound - greatest;
    int c = p.integer("c", "the constant term of n*n + b*n + c", builtin_c, c_low, c_high,
                      "every value for n = 0 .. 40 within 0 .. 10000");
    // With b alone, the built-in c must suit it too.
    if (!p.given() && (c < c_low || c > c_high))
        p.require(false, "c", "given when b is " + std::to_string(b) + ": an integer from " + std::to_string(c_low) +
                                  " to " + std::to_string(c_high) + " (41 takes some value outside 0 .. 10000)");
    p.done();

    spiral_coordinates_trace(b, c);
    return 0;
}
