// picture_shapes.hpp: the discs of the drawing toolkit as the picture tests
// expect them, typed out from their description rather than computed by the
// toolkit's walk (test_draw checks that the walk draws exactly these).
#pragma once
#include "harness.hpp"
#include <cstdlib>
#include <utility>
#include <vector>

// The pixels of the disc of radius r, as offsets from its centre: the centre
// alone for r = 0; a plus sign of 5 pixels for r = 1; the 5x5 square without
// its corners (21 pixels) for r = 2; and for r = 10, the 357 pixels within
// 10.7 of the centre.
inline std::vector<std::pair<int, int>> disc_offsets(int r)
{
    std::vector<std::pair<int, int>> offsets;
    for (int dx = -r; dx <= r; dx++)
        for (int dy = -r; dy <= r; dy++) {
            bool in = r == 1 ? std::abs(dx) + std::abs(dy) <= 1
                      : r == 2 ? std::abs(dx) * std::abs(dy) != 4
                               : dx * dx + dy * dy <= 10.7 * 10.7;
            if (in)
                offsets.push_back({dx, dy});
        }
    return offsets;
}

// That disc painted into a picture, cut at its edges.
inline void paint_disc(Picture &picture, int cx, int cy, int r, uint32_t colour)
{
    for (auto [dx, dy] : disc_offsets(r))
        if (picture.inside(cx + dx, cy + dy))
            picture.set(cx + dx, cy + dy, colour);
}
