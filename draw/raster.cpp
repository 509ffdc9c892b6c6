// The raster routines. Integer stepping throughout, but for draw_thick_line,
// whose intermediates are kept in extended precision (long double) and
// rounded to float exactly where the pictures were computed in single
// precision; conversions to pixels truncate toward zero.
#include "draw/draw.hpp"
#include <cmath>
#include <cstdlib>
#include <vector>

static inline void plot_clipped(int x, int y, Colour colour)
{
    if (inside_window(x, y))
        put_pixel(x, y, colour);
}

void draw_line(int x0, int y0, int x1, int y1, Colour colour)
{
    put_pixel(x0, y0, colour);
    int dx = x1 - x0, dy = y1 - y0;
    int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    int a = std::abs(dx), b = std::abs(dy);
    int x = x0, y = y0;
    if (dx == 0) {
        for (int k = 0; k < b; k++)
            put_pixel(x0, y += sy, colour);
    } else if (dy == 0) {
        for (int k = 0; k < a; k++)
            put_pixel(x += sx, y0, colour);
    } else if (a == b) {
        for (int k = 0; k < a; k++)
            put_pixel(x += sx, y += sy, colour);
    } else if (a > b) {
        // The minor axis moves once a whole unit of slope has built up.
        for (int k = 0, e = 0; k < a; k++) {
            e += b;
            x += sx;
            if (e >= a) {
                e -= a;
                y += sy;
            }
            put_pixel(x, y, colour);
        }
    } else {
        for (int k = 0, e = 0; k < b; k++) {
            e += a;
            y += sy;
            if (e >= b) {
                e -= b;
                x += sx;
            }
            put_pixel(x, y, colour);
        }
    }
}

void draw_line_clipped(int x0, int y0, int x1, int y1, Colour colour)
{
    plot_clipped(x0, y0, colour);
    int dx = x1 - x0, dy = y1 - y0;
    int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    int a = std::abs(dx), b = std::abs(dy);
    int x = x0, y = y0;
    if (dx == 0) {
        for (int k = 0; k < b; k++)
            plot_clipped(x0, y += sy, colour);
    } else if (dy == 0) {
        for (int k = 0; k < a; k++)
            plot_clipped(x += sx, y0, colour);
    } else if (a == b) {
        for (int k = 0; k < a; k++) {
            plot_clipped(x += sx, y, colour);
            plot_clipped(x, y += sy, colour);
        }
    } else if (a > b) {
        for (int k = 0, e = 0; k < a; k++) {
            plot_clipped(x += sx, y, colour);
            e += b;
            if (e >= a) {
                e -= a;
                plot_clipped(x, y += sy, colour);
            }
        }
    } else {
        for (int k = 0, e = 0; k < b; k++) {
            plot_clipped(x, y += sy, colour);
            e += a;
            if (e >= b) {
                e -= b;
                plot_clipped(x += sx, y, colour);
            }
        }
    }
}

// One step of the walk round a circle of radius r, from its bottom point
// (cx, cy + r) toward the row of the centre. e is (x-cx)^2 + (y-cy)^2 - r^2;
// the walk moves right or up, whichever leaves the smaller error (up on a tie).
static inline void circle_step(int cx, int cy, int &x, int &y, int &e)
{
    int f = e + 2 * (x - cx) + 1;
    int g = e - 2 * (y - cy) + 1;
    if (std::abs(f) < std::abs(g)) {
        x++;
        e = f;
    } else {
        y--;
        e = g;
    }
}

// The pixels of the disc of radius r about the origin, as the walk reaches
// them: paint(x0, x1, y) for each run from (x0, y) to (x1, y), runs that may
// repeat and overlap.
template <class Paint> static void disc_walk(int r, Paint paint)
{
    int e = 0, x = 0, y = r;
    paint(0, 0, r);
    paint(0, 0, -r);
    while (y > 0) {
        circle_step(0, 0, x, y, e);
        // The span reached, in the lower half and mirrored in the upper.
        paint(-x, x, y);
        paint(-x, x, -y);
    }
    paint(r, r, 0);
    paint(-r, -r, 0);
}

// The disc of radius r about the origin as its distinct pixels, each as its
// offset x + y * window_width in the picture: the walk's pixels gathered on
// a grid (the disc has one colour, so the order in which the walk paints
// them does not matter). Kept for the small radii the pictures use.
static const std::vector<int> &disc_shape(int r)
{
    static std::vector<int> shapes[16];
    std::vector<int> &shape = shapes[r];
    if (!shape.empty())
        return shape;
    const int side = 2 * r + 1;
    std::vector<bool> covered(side * side);
    disc_walk(r, [&](int x0, int x1, int y) {
        for (int x = x0; x <= x1; x++)
            covered[(x + r) + (y + r) * side] = true;
    });
    for (int y = -r; y <= r; y++)
        for (int x = -r; x <= r; x++)
            if (covered[(x + r) + (y + r) * side])
                shape.push_back(x + y * window_width);
    return shape;
}

// A disc wholly inside the window is painted from its shape; any other is
// walked, each pixel tested.
void fill_disc(int cx, int cy, int r, Colour colour)
{
    if (r >= 0 && r < 16 && inside_window(cx - r, cy - r) && inside_window(cx + r, cy + r)) {
        Colour *centre = screen_pixels + cx + cy * window_width;
        for (int offset : disc_shape(r))
            centre[offset] = colour;
        return;
    }
    disc_walk(r, [=](int x0, int x1, int y) {
        for (int x = x0; x <= x1; x++)
            plot_clipped(cx + x, cy + y, colour);
    });
}

void draw_circle(int cx, int cy, int r, Colour colour)
{
    int e = 0, x = cx, y = cy + r;
    plot_clipped(cx, cy + r, colour);
    plot_clipped(cx, cy - r, colour);
    while (y > cy) {
        circle_step(cx, cy, x, y, e);
        plot_clipped(x, y, colour);
        plot_clipped(x, 2 * cy - y, colour);
        plot_clipped(2 * cx - x, y, colour);
        plot_clipped(2 * cx - x, 2 * cy - y, colour);
    }
    plot_clipped(cx + r, cy, colour);
    plot_clipped(cx - r, cy, colour);
}

void draw_thick_line(int x0, int y0, int x1, int y1, int w, Colour colour)
{
    draw_line(x0, y0, x1, y1, colour);
    int dx = x1 - x0, dy = y1 - y0;
    float len = static_cast<float>(std::sqrt(static_cast<long double>(dx * dx + dy * dy)));
    if (len == 0)
        return;

    // u: the segment's direction scaled to w. p and q: u turned by a quarter
    // turn each way, with the angle pi/2 as it rounds to single precision, so
    // that cos theta is about -4.37e-8 rather than 0.
    long double ux = static_cast<long double>(w) * dx / len;
    long double uy = static_cast<long double>(w) * dy / len;
    const double theta = 1.5707963705062866;
    long double c = std::cos(theta), s = std::sin(theta);
    long double cm = std::cos(-theta), sm = std::sin(-theta);
    float px = static_cast<float>(ux * c - uy * s), py = static_cast<float>(ux * s + uy * c);
    float qx = static_cast<float>(ux * cm - uy * sm), qy = static_cast<float>(ux * sm + uy * cm);

    // A stroke to each side every tenth of a pixel; t is accumulated in single
    // precision, so its last value may fall just short of 1. (The step is the
    // double 0.1 widened, not the extended-precision tenth.)
    float t = 0;
    do {
        float xt = static_cast<float>((1.0L - t) * x0 + static_cast<long double>(t) * x1);
        float yt = static_cast<float>((1.0L - t) * y0 + static_cast<long double>(t) * y1);
        int ix = static_cast<int>(xt), iy = static_cast<int>(yt);
        draw_line(ix, iy, truncate_toward_zero(static_cast<long double>(xt) - px),
                  truncate_toward_zero(static_cast<long double>(yt) - py), colour);
        draw_line(ix, iy, truncate_toward_zero(static_cast<long double>(xt) - qx),
                  truncate_toward_zero(static_cast<long double>(yt) - qy), colour);
        t = static_cast<float>(t + static_cast<long double>(0.1) / len);
    } while (t <= 1);
}
