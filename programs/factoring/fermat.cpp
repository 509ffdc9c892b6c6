// Fermat's method on an odd number N: find x and y with x*x - y*y = N, so
// that N = (x + y)(x - y). Every odd N has such a pair, at worst x + y = N
// and x - y = 1, reached after about N steps.
#include "programs/factoring/factoring.hpp"
#include <cmath>
#include <cstdint>
#include <cstdio>

// The least x with x*x >= N, for 1 <= N < 2^62: the long double root is
// within one of it, and the squares decide exactly (x*x stays below 2^63).
static int64_t ceil_sqrt(int64_t N)
{
    int64_t x = static_cast<int64_t>(std::sqrt(static_cast<long double>(N)));
    while (x * x < N)
        x++;
    while (x > 0 && (x - 1) * (x - 1) >= N)
        x--;
    return x;
}

int64_t difference_of_squares_trace(int64_t N, long max_steps)
{
    // The walk carries only r = x*x - y*y - N: while r > 0 the smaller
    // square grows (y + 1 takes v = 2y + 1 off r), while r < 0 the larger
    // one does (x + 1 adds u = 2x + 1). |r| stays below u, so no square is
    // formed after the start.
    int64_t x = ceil_sqrt(N);
    int64_t y = 0;
    int64_t r = x * x - N;
    int64_t u = 2 * x + 1;
    int64_t v = 1;

    printf("(%lld %lld)", static_cast<long long>(x), static_cast<long long>(y));
    for (long step = 1; r != 0; step++) {
        if (step > max_steps) {
            printf("\n*** aucun facteur en %ld pas", max_steps);
            return 0;
        }
        if (r > 0) {
            r = r - v;
            v = v + 2;
            y = y + 1;
        } else {
            r = r + u;
            u = u + 2;
            x = x + 1;
        }
        printf("(%lld %lld)", static_cast<long long>(x), static_cast<long long>(y));
    }
    // r = 0: x*x - y*y = N.
    printf("\n***(%lld %lld)", static_cast<long long>(x + y), static_cast<long long>(x - y));
    return x + y;
}
