// Pollard's rho method on 16019 = 83 * 193, and why it works. The walk
// x -> x*x + 1 (mod 16019) starts at 1; the value at each power-of-two index
// is kept, and every later value is compared with it through a gcd with
// 16019. Then the same walk is run modulo 83 alone: it has only 83 possible
// values, so it falls into a cycle quickly, and the comparisons modulo 16019
// were really waiting for that cycle. Squares are formed by repeated
// addition, never by multiplication.
#include "arith/arith.hpp"
#include <cstdio>
#include <cstdlib>

const int composite = 16019; // the number to factor
const int factor = 83;       // its smaller prime factor, studied in the second phase
const int max_index = 400;   // neither phase goes past index 401
const int table_size = 402;  // the orbit modulo 83, indexed 1 .. 401

// (u*u + 1) mod m for 0 <= u < m: u added to itself u times, each partial
// sum brought back below m by one subtraction.
static int square_plus_one(int u, int m)
{
    int y = 0;
    for (int k = 0; k < u; k++) {
        y = y + u;
        if (y >= m)
            y = y - m;
    }
    return y + 1 >= m ? y + 1 - m : y + 1;
}

int main()
{
    // First phase: x(i) against saved = x(2^k), the last power-of-two index
    // reached. When the walk modulo 83 cycles with period T, x(i) = x(2^k)
    // (mod 83) as soon as 2^k is in the cycle and i - 2^k = T.
    int x = 1, saved = 1, i = 1, limit = 2;
    for (;;) {
        i = i + 1;
        x = square_plus_one(x, composite);
        printf("%2.d : %d\n ", i, x);
        // When x equals saved the gcd is 16019 itself, which tells nothing.
        int g = gcd(abs(x - saved), composite);
        if (g >= 2 && g <= composite - 1) {
            printf("\n **** %d ****\n", g);
            break;
        }
        if (i == limit) {
            saved = x;
            limit = 2 * i;
        }
        if (i > max_index)
            break;
    }

    // Second phase: the orbit modulo 83 itself, recorded, with the same
    // power-of-two comparisons; the first match gives the period T.
    printf("\n**********************************************************");
    int orbit_table[table_size] = {};
    int v = 1, b = 1, T = 0;
    orbit_table[1] = 1;
    i = 1;
    limit = 2;
    for (;;) {
        v = square_plus_one(v, factor);
        i = i + 1;
        orbit_table[i] = v;
        printf("(%2.ld : %ld) ", static_cast<long>(i), static_cast<long>(v));
        if (orbit_table[i] == orbit_table[b]) {
            T = i - b;
            printf("\n\n**** T=%d ****\n", T);
            break;
        }
        if (i == limit) {
            b = i;
            limit = 2 * i;
        }
        if (i > max_index)
            break;
    }

    // The cycle begins at the first value that comes back T places later.
    int e = 1;
    while (orbit_table[e + T] != orbit_table[e])
        e++;
    // The trace is Latin-1: the accent is the one byte 0xE9.
    printf("Indice d'entr\xe9"
           "e= %d",
           e);
    wait_enter();
    return 0;
}
