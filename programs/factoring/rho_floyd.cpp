// Pollard's rho method on n = 127199 = 311 * 409. The walk x -> x*x + 1
// (mod n) is, modulo the hidden factor 311, a walk on only 311 values, so it
// soon runs into a cycle there. Floyd's tortoise (one step) and hare (two
// steps) then agree modulo 311 while still differing modulo n, and
// gcd(hare - tortoise, n) reveals the factor. Squares are formed by repeated
// addition, never by multiplication.
#include "arith/arith.hpp"
#include <cstdio>
#include <cstdlib>
#include <ctime>

const int n = 127199; // the number to factor
const int max_steps = 10000;

// The functions below have external linkage: the factoring test builds this
// file once more, main renamed, and runs the walk from chosen starts.

// x*x mod n as x added to itself x times, each partial sum reduced at once:
// both terms are below n, so one subtraction suffices. 0 and 1 are their own
// squares and need no addition.
int rho_square(int x)
{
    int r = x;
    for (int k = 2; k <= x; k++) {
        r = r + x;
        if (r > n - 1)
            r = r - n;
    }
    return r;
}

// One step of the walk: (x*x + 1) mod n.
int rho_step(int x)
{
    int y = rho_square(x);
    return y + 1 <= n - 1 ? y + 1 : y - (n - 1);
}

int rho_step_twice(int x)
{
    return rho_step(rho_step(x));
}

// The walk from x0: after i steps the tortoise holds x(i), the hare x(2i).
// A gcd of n itself means they met modulo n too, and the start has failed.
void run_from(int x0)
{
    int t = x0, h = x0;
    for (int i = 1;; i++) {
        t = rho_step(t);
        h = rho_step_twice(h);
        printf("\n %d    %d  %d", i, t, h);
        int d = gcd_abs(h - t, n);
        if (d >= 2 && d <= n - 1) {
            printf("\n\n %d", d);
            break;
        }
        if (d == n) {
            printf("Rate");
            break;
        }
        if (i >= max_steps)
            break;
    }
}

int main()
{
    srand(time(nullptr));
    run_from(rand() % n);
    wait_enter();
    return 0;
}
