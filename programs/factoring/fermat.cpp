// Fermat's method on an odd number N: find x and y with x*x - y*y = N, so
// that N = (x + y)(x - y). Every odd N has such a pair, at worst x + y = N
// and x - y = 1, reached after about N steps.
#include "arith/fermat_walk.hpp"
#include "programs/factoring/factoring.hpp"
#include <cstdio>

int64_t difference_of_squares_trace(int64_t N, long max_steps)
{
    FermatWalk walk(N);
    printf("(%lld %lld)", static_cast<long long>(walk.x), static_cast<long long>(walk.y));
    for (long step = 1; !walk.found(); step++) {
        if (step > max_steps) {
            printf("\n*** aucun facteur en %ld pas", max_steps);
            return 0;
        }
        walk.step();
        printf("(%lld %lld)", static_cast<long long>(walk.x), static_cast<long long>(walk.y));
    }
    // x*x - y*y = N.
    printf("\n***(%lld %lld)", static_cast<long long>(walk.x + walk.y), static_cast<long long>(walk.x - walk.y));
    return walk.x + walk.y;
}
