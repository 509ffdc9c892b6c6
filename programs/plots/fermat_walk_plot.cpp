// Fermat's difference-of-squares method for 185 as a walk on the lattice.
// The point (x, y) stands for the pair tried; r = x*x - y*y - 185 is kept up
// to date by adding the odd numbers u = 2x + 1 and v = 2y + 1. The walk steps
// right while r < 0 and up while r > 0, and stops on the hyperbola
// x*x - y*y = 185, at (21, 16): 185 = (21 - 16)(21 + 16) = 5 * 37.
#include "arith/fermat_walk.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "plots.hpp"
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

// The axes, the hyperbola and the walk to it; returns the walk at its end.
static FermatWalk fermat_walk(Steps &out)
{
    FermatWalk walk(n);
    out.run("fermat_walk", "n", n, "x", walk.x, "y", walk.y, "r", walk.r);

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
    // x*x - y*y = 185. Each step adds u = 2x + 1 to r as x grows, or takes
    // v = 2y + 1 from it as y grows: the odd number reported with the step.
    const int start_x = static_cast<int>(walk.x), start_y = static_cast<int>(walk.y);
    draw_circle(pixel_x(start_x), pixel_y(start_y), 6, black);
    int steps = 0;
    while (!walk.found()) {
        int x0 = pixel_x(static_cast<int>(walk.x)), y0 = pixel_y(static_cast<int>(walk.y));
        long long before = walk.r, odd = walk.r > 0 ? walk.v : walk.u;
        walk.step();
        steps++;
        draw_thick_line(x0, y0, pixel_x(static_cast<int>(walk.x)), pixel_y(static_cast<int>(walk.y)), 1, black);
        out.step("walk", "k", steps, "before", before, "odd", odd, "x", walk.x, "y", walk.y, "r", walk.r);
    }
    int x = static_cast<int>(walk.x), y = static_cast<int>(walk.y);
    fill_disc(pixel_x(x), pixel_y(y), 6, black);

    // The read-out: the lattice point nearest the pointer, and x*x - y*y
    // there, which the walk brings to n.
    set_readout([](int px, int py) {
        int X = nearest_lattice(px - pixel_x(0), 30), Y = nearest_lattice(pixel_y(0) - py, 30);
        return format("(x, y) = (%d, %d), x*x - y*y = %d", X, Y, X * X - Y * Y);
    });
    std::string caption =
        format("the walk from (%d, %d) up and right to the hyperbola x*x - y*y = %d, at (%d, %d): %d = %d * %d",
               start_x, start_y, n, x, y, n, x - y, x + y);
    show_stage(out, "walk", caption, "stage", 1, "count", 1, "n", n, "start_x", start_x, "start_y", start_y, "x", x,
               "y", y, "factor", x - y, "cofactor", x + y);
    out.result("fermat_walk", "n", n, "x", x, "y", y, "factor", x - y, "cofactor", x + y, "steps", steps);
    wait_for_key(out);
    return walk;
}

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters parameters(argc, argv);
    parameters.add_usage(view_usage(fermat_walk_plot_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, fermat_walk_plot_explain);
    open_screen(1);
    clear_screen(white);
    fermat_walk(view);
    view.finish();
    return 0;
}
