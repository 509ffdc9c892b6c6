// polynomial.hpp: the quadratics n*n + b*n + c whose values for
// n = 0 .. last all lie in one range of numbers, low .. high (the prime
// table of the spiral's console listing, the numbers of the Ulam spiral).
#pragma once

// A range of integers, low to high inclusive; empty when low > high.
struct IntegerRange {
    long long low, high;
};

// For one b, the c that keep every value of n*n + b*n + c within low .. high.
IntegerRange polynomial_c_range(long long b, int last, long long low, long long high);

// The b for which some c does: those whose values n*n + b*n spread over at
// most high - low.
IntegerRange polynomial_b_range(int last, long long low, long long high);
