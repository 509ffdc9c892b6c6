// The strong test to base 2 on the Carmichael number 1729 = 7 * 13 * 19,
// step by step. 1728 = 2^6 * 27; the trace shows 2^27 = 645 (mod 1729), then
// the squarings 645^2 = 1065 and 1065^2 = 1. So 1065 is a square root of 1
// other than 1 and -1, which no prime modulus has: 1729 is composite, though
// it passes the Fermat test to every base prime to it.
#include "arith/arith.hpp"
#include <cstdio>

const int n = 1729;         // the number under test
const int n_minus_1 = 1728; // -1 modulo n

int main()
{
    // 1728 = 2^s * d with d odd; it is even, so halve at least once.
    int d = n_minus_1, s = 0;
    do {
        d /= 2;
        s++;
    } while (d % 2 == 0);

    // 2^d mod 1729 by doubling.
    int aq = 1;
    for (int i = 0; i < d; i++) {
        aq = aq + aq;
        while (aq >= n)
            aq -= n;
    }

    if (aq == 1 || aq == n_minus_1) {
        printf(" aq=%d  %d FPP ", aq, n);
    } else {
        printf(" aq =%d\n ", aq);
        // Square up to s - 1 times: reaching 1 first proves n composite,
        // reaching -1 lets it pass. Products stay below 1729^2.
        int k;
        for (k = 1; k < s; k++) {
            aq = aq * aq;
            while (aq >= n)
                aq -= n;
            printf(" k=%d aexpo=%d  ", k, aq);
            if (aq == 1) {
                printf("   k = %d aexpo = 1 %d non premier ", k, n);
                break;
            }
            if (aq == n_minus_1) {
                printf(" %d  aexpo = -1 %d FPP ", k, n);
                break;
            }
        }
        // Neither 1 nor -1 after every squaring: not even the Fermat test holds.
        if (k == s)
            printf("    k=i  %d non premier ", n);
    }

    wait_enter();
    return 0;
}
