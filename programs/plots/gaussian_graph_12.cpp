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

Uint32 white, black, grey, blue;

// Pixel of a + bi: b grows upward.
static int pixel_x(int a)
{
    return 400 + a * scale;
}
static int pixel_y(int b)
{
    return 300 - b * scale;
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
    white = SDL_MapRGB(screen->format, 255, 255, 255);
    black = SDL_MapRGB(screen->format, 0, 0, 0);
    grey = SDL_MapRGB(screen->format, 120, 120, 120);
    blue = SDL_MapRGB(screen->format, 0, 0, 200);
    SDL_FillRect(screen, nullptr, white);

    // Stage 1: the Gaussian primes of the square, as blue pixels.
    plot_gaussian_primes(bound, plot_point);
    show_stage("the Gaussian primes a + bi with |a|, |b| <= %d, one blue pixel each", bound);
    wait_key_or_quit();

    // Stage 2: the grey circle of radius 46 first. It passes over the eight
    // primes (+-32, +-33) and (+-33, +-32) of norm 2113, which are then grey
    // and take no part in the scan.
    draw_circle(400, 300, circle_units * scale, grey);

    // The scan, column by column. A blue pixel is the point a + bi (the
    // division is exact); each of its twelve steps that lands on blue is
    // joined by a segment. The segment paints its two ends black, so both are
    // made blue again for the rest of the scan. Every pair is met from both
    // ends, and the two drawings, in opposite directions, cover the union of
    // both pixel paths.
    for (int x = 0; x <= 799; x++)
        for (int y = 0; y <= 599; y++) {
            if (get_pixel(x, y) != blue)
                continue;
            int a = (x - 400) / scale, b = (300 - y) / scale;
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
