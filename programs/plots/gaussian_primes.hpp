// gaussian_primes.hpp: the Gaussian primes of a square of the lattice, as
// the Gaussian prime pictures plot them.
#pragma once
#include "arith/arith.hpp"
#include "draw/draw.hpp"
#include "plots.hpp"

// Whether the centre pixel (x, y) of a + bi lies in the window, tested only
// toward the side where the point lies: the right edge for a >= 0, the left
// for a < 0, the top for b >= 0, the bottom for b < 0. A point whose centre
// is outside is not plotted, even where its disc would reach inside.
inline bool centre_in_window(int a, int b, int x, int y)
{
    bool inside_x = a >= 0 ? x < window_width : x >= 0;
    bool inside_y = b >= 0 ? y >= 0 : y < window_height;
    return inside_x && inside_y;
}

// Whether a + bi is a Gaussian prime: off the axes exactly when its norm
// a*a + b*b is a rational prime; on an axis exactly when it is a unit times a
// rational prime of the form 4k + 3 (so 2, the units and 0 are not).
inline bool gaussian_prime(int a, int b)
{
    if (a != 0 && b != 0)
        return is_prime(a * a + b * b);
    int q = a + b < 0 ? -(a + b) : a + b;
    return is_prime(q) && q % 4 == 3;
}

// What a Gaussian picture shows at a point a + bi: the number, its norm,
// and whether it is a Gaussian prime.
inline std::string gaussian_readout(int a, int b)
{
    return format("%s, norm %d%s", gaussian_text(a, b).c_str(), a * a + b * b,
                  gaussian_prime(a, b) ? ", a Gaussian prime" : "");
}

// Calls plot(a, b) for every Gaussian prime a + bi with |a|, |b| <= bound,
// found from the first quadrant by symmetry. The mirror images come in the
// order (i, j), (i, -j), (-i, j), (-i, -j); on an axis there are two.
inline void plot_gaussian_primes(int bound, void (*plot)(int a, int b))
{
    for (int i = 0; i <= bound; i++)
        for (int j = 0; j <= bound; j++) {
            if ((i == 0 && j == 0) || !gaussian_prime(i, j))
                continue;
            if (j == 0) {
                plot(i, 0);
                plot(-i, 0);
            } else if (i == 0) {
                plot(0, j);
                plot(0, -j);
            } else {
                plot(i, j);
                plot(i, -j);
                plot(-i, j);
                plot(-i, -j);
            }
        }
}
