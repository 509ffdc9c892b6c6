// The Gaussian primes of the square |a|, |b| <= 57 as single blue pixels, and
// every pair of them one step apart, for the twelve steps of length at most
// 2, joined by a black segment: the whole neighbour graph, not only the part
// that reaches 1 + i. The graph is read off the screen itself: a scan takes
// each blue pixel as a point and looks one step away for blue.
#include "arith/arith.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "gaussian_primes.hpp"
#include "gaussian_steps.hpp"

const int scale = 5;         // pixels per lattice unit
const int bound = 57;        // a and b run from -57 to 57
const int circle_units = 46; // the circle of gaussian_walk_12, about the origin

const Colour white = map_colour(255, 255, 255);
const Colour black = map_colour(0, 0, 0);
const Colour grey = map_colour(120, 120, 120);
const Colour blue = map_colour(0, 0, 200);

// Pixel of a + bi: b grows upward.
static int pixel_x(int a)
{
    return window_centre_x + a * scale;
}
static int pixel_y(int b)
{
    return window_centre_y - b * scale;
}

// One blue pixel for a + bi, when it lies in the window (at this scale every
// point of the square does: x from 115 to 685, y from 15 to 585).
static void plot_point(int a, int b)
{
    int x = pixel_x(a), y = pixel_y(b);
    if (centre_in_window(a, b, x, y))
        put_pixel(x, y, blue);
}

int main(int argc, char *argv[])
{
    Parameters parameters(argc, argv);
    if (!parameters.ready())
        return parameters.report();

    open_screen(2);
    clear_screen(white);

    // Stage 1: the Gaussian primes of the square, as blue pixels.
    plot_gaussian_primes(bound, plot_point);
    show_stage("the Gaussian primes a + bi with |a|, |b| <= %d, one blue pixel each", bound);
    wait_key_or_quit();

    // Stage 2: the grey circle of radius 46 first. It passes over the eight
    // primes (+-32, +-33) and (+-33, +-32) of norm 2113, which are then grey
    // and take no part in the scan.
    draw_circle(window_centre_x, window_centre_y, circle_units * scale, grey);

    // The scan, column by column. A blue pixel is the point a + bi (the
    // division is exact); each of its twelve steps that lands on blue is
    // joined by a segment. The segment paints its two ends black, so both are
    // made blue again for the rest of the scan. Every pair is met from both
    // ends, and the two drawings, in opposite directions, cover the union of
    // both pixel paths.
    for (int x = 0; x < window_width; x++)
        for (int y = 0; y < window_height; y++) {
            if (get_pixel(x, y) != blue)
                continue;
            int a = (x - window_centre_x) / scale, b = (window_centre_y - y) / scale;
            for (int k = 0; k < 12; k++) {
                int nx = pixel_x(a + step_dx[k]), ny = pixel_y(b + step_dy[k]);
                if (get_pixel(nx, ny) == blue) {
                    draw_line(x, y, nx, ny, black);
                    put_pixel(x, y, blue);
                    put_pixel(nx, ny, blue);
                }
            }
        }
    show_stage("every two of them at most 2 apart joined in black; the grey circle of radius %d", circle_units);
    wait_key_or_quit();
    return 0;
}
