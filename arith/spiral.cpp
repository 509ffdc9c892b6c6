#include "arith/spiral.hpp"

std::vector<SpiralPoint> square_spiral(int rounds)
{
    std::vector<SpiralPoint> points{{0, 0, spiral_right}};
    points.reserve(4 * rounds * rounds + 2 * rounds + 1);
    for (int length = 1; length < 2 * rounds; length += 2)
        for (SpiralSide side : {spiral_right, spiral_up, spiral_left, spiral_down})
            // The first two sides of a round are one step shorter.
            for (int k = 0; k < (side <= spiral_up ? length : length + 1); k++) {
                const SpiralPoint &last = points.back();
                points.push_back({last.x + spiral_dx[side], last.y + spiral_dy[side], side});
            }
    return points;
}
