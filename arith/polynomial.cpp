// The ranges of b and c that keep a quadratic's values within a range.
#include "arith/polynomial.hpp"

IntegerRange polynomial_c_range(long long b, int last, long long low, long long high)
{
    // The least and the greatest of n*n + b*n over n = 0 .. last; c shifts
    // them both, so the least must stay at or above low and the greatest at
    // or below high.
    long long least = 0, greatest = 0; // the value at n = 0
    for (long long n = 1; n <= last; n++) {
        long long v = n * n + b * n;
        least = v < least ? v : least;
        greatest = v > greatest ? v : greatest;
    }
    return {low - least, high - greatest};
}

IntegerRange polynomial_b_range(int last, long long low, long long high)
{
    // The spread of the values is least at b = -last, the same for b and
    // -2*last - b (n -> last - n), and grows with |b + last|: the b that
    // have a c form one range about -last.
    auto has_c = [=](long long b) {
        IntegerRange c = polynomial_c_range(b, last, low, high);
        return c.low <= c.high;
    };
    IntegerRange b = {-last, -last};
    if (!has_c(-last))
        return {0, -1};
    while (has_c(b.low - 1))
        b.low--;
    while (has_c(b.high + 1))
        b.high++;
    return b;
}
