// fermat_walk.hpp: Fermat's method on an odd number N as a walk on the
// lattice: the point (x, y) is the pair tried, and the walk stops where
// x*x - y*y = N, so that N = (x + y)(x - y). It carries only the remainder
// r = x*x - y*y - N and the odd numbers u = 2x + 1 and v = 2y + 1 by which r
// grows when x does and shrinks when y does: every step is an addition, and
// |r| stays below u, so nothing outgrows the numbers themselves.
#pragma once
#include <cstdint>

struct FermatWalk {
    int64_t x, y, r, u, v;

    // The start: the least x with x*x >= N, and y = 0 (1 <= N < 2^62).
    explicit FermatWalk(int64_t N);

    // Whether x*x - y*y = N.
    bool found() const { return r == 0; }

    // One step: y + 1 while r > 0, x + 1 while r < 0. True when x moved.
    bool step();
};
