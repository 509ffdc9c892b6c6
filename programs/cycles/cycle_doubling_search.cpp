// The period and the entry index of u -> u*u + 1 (mod 41) from u(0) = 16.
// The windows b .. 2b - 1 (b = 1, 2, 4, 8, ...) double in length; each of
// their terms is compared with u(b - 1), the term just before the window.
// Once the window is longer than the period and u(b - 1) lies in the cycle,
// the term one period after u(b - 1) falls inside the window and matches.
#include "arith/arith.hpp"
#include "sequence.hpp"
#include <cstdio>

const int first_term = 16;   // u(0)
const int table_size = 1000; // room for every term the windows reach

int main()
{
    int u[table_size] = {};
    int period = 0;
    bool found = false;

    u[0] = first_term;
    for (int b = 1; !found; b = 2 * b) {
        for (int i = b; i <= 2 * b - 1; i++) {
            u[i] = next_term(u[i - 1]);
            printf("\n (u(%d)= %d   u(%d)= %d)", b - 1, u[b - 1], i, u[i]);
            if (u[i] == u[b - 1]) {
                period = i - (b - 1);
                found = true;
                break;
            }
        }
    }

    // The cycle begins at the first term that comes back one period later.
    int entry = 0;
    while (u[entry] != u[entry + period])
        entry++;
    printf("\n\n Periode = %d   Indice d'entree = %d\n", period, entry);
    return 0;
}
