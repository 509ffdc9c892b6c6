// gaussian_primes.hpp: the Gaussian primes of a square of the lattice, as
// the Gaussian prime pictures plot them.
#pragma once
#include "arith/arith.hpp"

// Calls plot(a, b) for every Gaussian prime a + bi with |a|, |b| <= bound,
// found from the first quadrant by symmetry. On an axis, p and pi are prime
// exactly when p is a rational prime of the form 4k + 3 (so 2 and the units
// are not); off the axes a + bi is prime exactly when its norm a*a + b*b is a
// rational prime. The four mirror images come in the order (i, j), (i, -j),
// (-i, j), (-i, -j).
inline void plot_gaussian_primes(int bound, void (*plot)(int a, int b))
{
    for (int i = 0; i <= bound; i++)
        for (int j = 0; j <= bound; j++) {
            if (i == 0 && j == 0)
                continue;
            if (j == 0) {
                if (is_prime(i) == 1 && i % 4 == 3) {
                    plot(i, 0);
                    plot(-i, 0);
                }
            } else if (i == 0) {
                if (is_prime(j) == 1 && j % 4 == 3) {
                    plot(0, j);
                    plot(0, -j);
                }
            } else if (is_prime(i * i + j * j) == 1) {
                plot(i, j);
                plot(i, -j);
                plot(-i, j);
                plot(-i, -j);
            }
        }
}
