// sequence.hpp: the sequence u -> u*u + 1 (mod m) of the cycle-detection
// programs. It has m possible values, so from any start it enters a cycle
// after at most m steps; the programs find that cycle's length (the period)
// and the index of its first term (the entry index).
#pragma once
#include <cstdint>

// The next term: u*u + 1 brought down into 0 .. m - 1. For the largest
// modulus, 46340, the square reaches 46339^2, so it is formed in 64 bits.
inline int next_term(int u, int m)
{
    int64_t n = static_cast<int64_t>(u) * u + 1;
    return static_cast<int>(n > m - 1 ? n % m : n);
}

// Two steps at once: the hare's stride in Floyd's method.
inline int next_term_twice(int u, int m)
{
    return next_term(next_term(u, m), m);
}
