// spiral.hpp: the square spiral on which the Ulam spiral writes the numbers,
// as lattice points. The second coordinate grows downward, as screen rows
// do. Point 0 is the origin; round L = 1, 3, 5, ... takes L steps right,
// L up, L + 1 left and L + 1 down, closing one more ring about the origin,
// so that after `rounds` rounds there are 4*rounds^2 + 2*rounds steps, every
// lattice point of the block -rounds <= x <= rounds, -rounds <= y < rounds
// is met once, and the last point is the corner (-rounds, rounds).
#pragma once
#include <vector>

// The four sides of a round, in order: the step each one takes.
enum SpiralSide { spiral_right, spiral_up, spiral_left, spiral_down };
const int spiral_dx[] = {1, 0, -1, 0};
const int spiral_dy[] = {0, -1, 0, 1};

struct SpiralPoint {
    int x, y;
    SpiralSide side; // of the step that reached the point (point 0: spiral_right)
};

// Points 0 to 4*rounds^2 + 2*rounds of the spiral.
std::vector<SpiralPoint> square_spiral(int rounds);
