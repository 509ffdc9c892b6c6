// sequence.hpp: the sequence u -> u*u + 1 (mod 41) of the cycle-detection
// programs. It has 41 possible values, so from any start it enters a cycle
// after at most 41 steps; the programs find that cycle's length (the period)
// and the index of its first term (the entry index).
#pragma once

// The next term: u*u + 1 brought down into 0..40 by subtracting 41 while it
// is above 40. For 0 <= u <= 40 this is (u*u + 1) mod 41.
inline int next_term(int u)
{
    int n = u * u + 1;
    while (n > 40)
        n = n - 41;
    return n;
}

// Two steps at once: the hare's stride in Floyd's method.
inline int next_term_twice(int u)
{
    return next_term(next_term(u));
}
