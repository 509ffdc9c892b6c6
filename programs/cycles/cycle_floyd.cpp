// Floyd's tortoise and hare on u -> u*u + 1 (mod 41) from u(0) = 16. After k
// steps the tortoise holds u(k) and the hare, going twice as fast, u(2k).
// They meet at the first k with u(k) = u(2k): a multiple of the period that
// is at least the entry index. For this start it is the period itself.
#include "arith/arith.hpp"
#include "sequence.hpp"
#include <cstdio>

const int first_term = 16; // u(0)

int main()
{
    int t = first_term, h = first_term, k = 0;
    for (;;) {
        k = k + 1;
        t = next_term(t);
        h = next_term_twice(h);
        printf("\n %d    %d  %d", k, t, h);
        if (t == h)
            break;
    }
    printf(" \n\nperiode = %d", k);
    wait_enter();
    return 0;
}
