// Fermat's difference-of-squares method for 185 as a walk on the lattice.
// The point (x, y) stands for the pair tried; r = x*x - y*y - 185 is kept up
// to date by adding the odd numbers u = 2x + 1 and v = 2y + 1. The walk steps
// right while r < 0 and up while r > 0, and stops on the hyperbola
// x*x - y*y = 185, at (21, 16): 185 = (21 - 16)(21 + 16) = 5 * 37.
#include "arith/fermat_walk.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include <cmath>

const int n = 185;

const Colour white = map_colour(255, 255, 255);
const Colour black = map_colour(0, 0, 0);
const Colour grey = map_colour(100, 100, 100);

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
    clear_screen(white);

    // The axes: x from 0 to 20, y from 0 to 15.
    draw_line(pixel_x(0), pixel_y(0), pixel_x(20), pixel_y(0), black);
    draw_line(pixel_x(0), pixel_y(0), pixel_x(0), pixel_y(15), black);

    // The branch of x*x - y*y = 185, from just right of sqrt(185) and in
    // single-precision steps of about 0.0001, drawn up to the row 10. The
    // branch rises with x (each rounding keeps the order), so once a point
    // lies at or above the row 10 every later one does too, up to x = 60,
    // and nothing more is drawn. Double precision is exact here, or rounds
    // to the same float as any wider precision: x*x has at most 48
    // significant bits and 30 times a float at most 29, and a sum or a
    // square root rounded to double and then to float is the float nearest
    // the exact value (double holds more than twice a float's 24 bits).
    for (float x = 13.601480947265625f; x < 60; x = static_cast<float>(x + 0.0001)) {
        double t = static_cast<double>(x) * x - n;
        float y = static_cast<float>(std::sqrt(t));
        double w = 550 - 30 * static_cast<double>(y);
        if (w <= 10)
            break;
        fill_disc(static_cast<int>(30 * static_cast<double>(x) + 30), static_cast<int>(w), 1, grey);
    }

    // The walk from (14, 0), 14 the least x with x*x >= 185: a ring on the
    // start, a band for every step, and a disc on the end, where
    // x*x - y*y = 185.
    FermatWalk walk(n);
    draw_circle(pixel_x(walk.x), pixel_y(walk.y), 6, black);
    while (!walk.found()) {
        int x0 = pixel_x(walk.x), y0 = pixel_y(walk.y);
        walk.step();
        draw_thick_line(x0, y0, pixel_x(walk.x), pixel_y(walk.y), 1, black);
    }
    int x = walk.x, y = walk.y;
    fill_disc(pixel_x(x), pixel_y(y), 6, black);

    show_stage("the walk from (14, 0) up and right to the hyperbola x*x - y*y = %d, at (%d, %d): %d = %d * %d", n, x,
               y, n, x - y, x + y);
    wait_key_or_quit();
    return 0;
}
