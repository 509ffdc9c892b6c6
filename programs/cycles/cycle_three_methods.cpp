// The period and the entry index of u -> u*u + 1 (mod 41) from u(1) = 11,
// found three ways. First by power-of-two windows: the term at the end of each
// window is kept and compared with every term of the next, twice as long,
// window. Then by Floyd's tortoise and hare, which compares u(k) with u(2k).
// Last by Brent's variant of the windows, which compares only in the last
// quarter of each window. Terms are numbered from 1.
#include "arith/arith.hpp"
#include "sequence.hpp"
#include <cstdio>

const int first_term = 11;   // u(1)
const int table_size = 1000; // room for the terms of either window search
const int floyd_steps = 20;  // the tortoise stops after u(20) at the latest
const int brent_terms = 20;  // Brent's search looks at u(2) .. u(20) at most

// The smallest j >= 1 with u(j) = u(j + period): where the cycle begins.
static int entry_index(const int *u, int period)
{
    int j = 1;
    while (u[j] != u[j + period])
        j++;
    return j;
}

int main()
{
    int u[table_size] = {};
    int period = 0;

    // Section 1: s = u(e/2), the last term of the previous window, is compared
    // with each term of the window e/2 + 1 .. e. A match at term i means the
    // sequence repeats after i - e/2 terms.
    u[1] = first_term;
    int s = first_term, e = 2, i = 1, h;
    for (;;) {
        i = i + 1;
        h = e / 2;
        u[i] = next_term(u[i - 1]);
        printf("\n (u(%d)= %d   u(%d)= %d)", h, s, i, u[i]);
        if (u[i] == s)
            break;
        if (i == e) {
            s = u[i];
            e = 2 * e;
        }
    }
    period = i - h;
    printf("\n\n Periode = %d ", period);
    printf(" Indice d'entree = %d\n\n", entry_index(u, period));
    wait_enter();

    // Section 2: the tortoise t = u(k) takes one step, the hare two, so the
    // hare holds u(2k). They first meet at the smallest multiple of the period
    // that is at least the entry index.
    printf(" \n\n  FLOYD\n");
    int t = first_term, k = 1;
    int hare = next_term(first_term);
    printf("\n 1 2    %d  %d", first_term, hare);
    if (t == hare) {
        period = 1;
        printf(" \n\nperiode = %d", 1);
    } else {
        for (;;) {
            t = next_term(t);
            k = k + 1;
            hare = next_term_twice(hare);
            printf("\n %d %d    %d  %d", k, 2 * k, t, hare);
            if (t == hare) {
                period = k;
                printf(" \n\nperiode = %d", k);
                break;
            }
            if (k >= floyd_steps)
                break;
        }
    }
    wait_enter();

    // Section 3: the windows of section 1 again, but within the window
    // e/2 + 1 .. e only the terms above 3e/4 are compared with s. The saving
    // is in comparisons; the match may come a little later than in section 1.
    printf("\n\n  BRENT\n");
    u[1] = first_term;
    s = first_term;
    e = 2;
    i = 1;
    for (;;) {
        i = i + 1;
        u[i] = next_term(u[i - 1]);
        if (i > 3 * e / 4) {
            printf("\n (u(%d)= %d   u(%d)= %d)", e / 2, s, i, u[i]);
            if (u[i] == s) {
                period = i - e / 2;
                break;
            }
        }
        if (i == e) {
            s = u[i];
            e = 2 * e;
        }
        if (i >= brent_terms)
            break;
    }
    // Without a match the period found by the earlier sections stands.
    printf("\n\n Periode = %d ", period);
    printf(" Indice d'entree = %d\n\n", entry_index(u, period));
    return 0;
}
