// Fermat's difference-of-squares method for 185 as a walk on the lattice.
// The point (x, y) stands for the pair tried; r = x*x - y*y - 185 is kept up
// to date by adding the odd numbers u = 2x + 1 and v = 2y + 1. The walk steps
// right while r < 0 and up while r > 0, and stops on the hyperbola
// x*x - y*y = 185, at (21, 16): 185 = (21 - 16)(21 + 16) = 5 * 37.
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include <cmath>

const int n = 185;

// Pixel of lattice point (x, y): 30 pixels per unit, origin at (30, 550), y up.
static int pixel_x(int x)
{
    return 30 + 30 * x;
}
static int pixel_y(int y)
{
    return 550 - 30 * y;
}

int main(int argc, char **argv)
{
    Parameters parameters(argc, argv);
    if (!parameters.ready())
        return parameters.report();

    open_screen(1);
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
    Uint32 grey = SDL_MapRGB(screen->format, 100, 100, 100);
    SDL_FillRect(screen, nullptr, white);

    // The axes: x from 0 to 20, y from 0 to 15.
    draw_line(30, 550, 630, 550, black);
    draw_line(30, 550, 30, 100, black);

    // The branch of x*x - y*y = 185, from just right of sqrt(185) and in
    // single-precision steps of about 0.0001, drawn up to the row 10. The
    // branch rises with x (each rounding keeps the order), so once a point
    // lies at or above the row 10 every later one does too, up to x = 60,
    // and nothing more is drawn.
    const long double step = static_cast<long double>(0.0001);
    for (float x = 13.601480947265625f; x < 60; x = static_cast<float>(x + step)) {
        long double t = static_cast<long double>(x) * x - n;
        float y = static_cast<float>(std::sqrt(t));
        long double w = 550 - 30 * static_cast<long double>(y);
        if (w <= 10)
            break;
        fill_disc(static_cast<int>(30 * static_cast<long double>(x) + 30), static_cast<int>(w), 1, grey);
    }

    // The start (14, 0): 14 is the least x with x*x >= 185.
    draw_circle(pixel_x(14), pixel_y(0), 6, black);

    // The walk: each step adds to r the growth of x*x or takes off that of
    // y*y, so that r = x*x - y*y - 185 throughout.
    int x = 14, y = 0, r = 14 * 14 - n, u = 2 * 14 + 1, v = 2 * 0 + 1;
    while (r != 0) {
        if (r < 0) {
            r += u;
            u += 2;
            x++;
            draw_thick_line(pixel_x(x - 1), pixel_y(y), pixel_x(x), pixel_y(y), 1, black);
        } else {
            r -= v;
            v += 2;
            y++;
            draw_thick_line(pixel_x(x), pixel_y(y - 1), pixel_x(x), pixel_y(y), 1, black);
        }
    }

    // The end: x*x - y*y = 185.
    fill_disc(pixel_x(x), pixel_y(y), 6, black);

    show_stage("the walk from (14, 0) up and right to the hyperbola x*x - y*y = %d, at (%d, %d): %d = %d * %d", n, x,
               y, n, x - y, x + y);
    wait_key_or_quit();
    return 0;
}
