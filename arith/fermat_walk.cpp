#include "arith/fermat_walk.hpp"
#include <cmath>

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

FermatWalk::FermatWalk(int64_t N) : x(ceil_sqrt(N)), y(0), r(x * x - N), u(2 * x + 1), v(1) {}

bool FermatWalk::step()
{
    if (r > 0) {
        r -= v;
        v += 2;
        y++;
        return false;
    }
    r += u;
    u += 2;
    x++;
    return true;
}
