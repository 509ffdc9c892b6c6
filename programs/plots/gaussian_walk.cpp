// The Gaussian primes of a square of the lattice a + bi, as grey discs, and
// every one of them that a chain of short steps links to the start, 1 + i
// unless another Gaussian prime of the picture is given. The walk goes
// depth first, in the order of the step table, and keeps no list: a grey
// centre pixel is a prime not reached yet, and the black disc drawn on
// arrival marks it as reached. The same source builds three programs, with
// GAUSSIAN_STEPS = 8, 12 or 24 steps and their own scale and square.
#include "arith/arith.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "gaussian_primes.hpp"
#include <algorithm>
#include <string>

#if GAUSSIAN_STEPS == 8
// The eight neighbours at Chebyshev distance 1.
const int scale = 12;       // pixels per lattice unit
const int bound = 54;       // a and b run from -bound to bound
const int point_radius = 2; // the grey disc of a plotted prime
const Uint8 grey_level = 100;
const int step_dx[] = {1, 0, -1, 0, 1, -1, -1, 1};
const int step_dy[] = {0, 1, 0, -1, 1, 1, -1, -1};
#elif GAUSSIAN_STEPS == 12
// Every nonzero step of Euclidean length at most 2.
const int scale = 6;
const int bound = 49;
const int point_radius = 1;
const Uint8 grey_level = 100;
#include "gaussian_steps.hpp"
#elif GAUSSIAN_STEPS == 24
// Every nonzero step within the 5x5 square, Chebyshev distance at most 2.
const int scale = 3;
const int bound = 119;
const int point_radius = 1;
const Uint8 grey_level = 120;
const int step_dx[] = {1, 0, -1, 0, 1, -1, -1, 1, 2, 2, 2, 1, 0, -1, -2, -2, -2, -2, -2, -1, 0, 1, 2, 2};
const int step_dy[] = {0, 1, 0, -1, 1, 1, -1, -1, 0, 1, 2, 2, 2, 2, 2, 1, 0, -1, -2, -2, -2, -2, -2, -1};
#else
#error "GAUSSIAN_STEPS must be 8, 12 or 24"
#endif

const int step_count = sizeof step_dx / sizeof step_dx[0];
static_assert(step_count == GAUSSIAN_STEPS, "one table entry per step");
static_assert(sizeof step_dy == sizeof step_dx, "the step tables run in parallel");

// The disc that marks a point as reached covers the grey disc of a prime.
const int reached_radius = 2;

Uint32 white, black, grey;

// Centre pixel of the lattice point a + bi: b grows upward.
static int pixel_x(int a)
{
    return 400 + a * scale;
}
static int pixel_y(int b)
{
    return 300 - b * scale;
}

// A grey disc for a + bi, only when its centre lies in the window.
static void plot_point(int a, int b)
{
    int x = pixel_x(a), y = pixel_y(b);
    if (centre_in_window(a, b, x, y))
        fill_disc(x, y, point_radius, grey);
}

// The points reached so far, and the largest norm a*a + b*b among them.
int reached = 0, farthest_norm = 0;

// Enters the prime a + bi: marks it black, then follows every step that
// lands on a grey centre, one branch at a time. A neighbour reached by an
// earlier branch is black by the time its own step is tried, so every prime
// is entered once and the segments form the depth-first tree of the walk.
// A neighbour whose centre lies outside the window is no plotted prime.
// One level per point of the current path: 1211 from 1 + i with 24 steps.
static void visit_point(int a, int b)
{
    int x = pixel_x(a), y = pixel_y(b);
    fill_disc(x, y, reached_radius, black);
    reached++;
    farthest_norm = std::max(farthest_norm, a * a + b * b);
    for (int k = 0; k < step_count; k++) {
        int na = a + step_dx[k], nb = b + step_dy[k];
        int nx = pixel_x(na), ny = pixel_y(nb);
        bool inside = nx >= 0 && nx <= 799 && ny >= 0 && ny <= 599;
        if (inside && get_pixel(nx, ny) == grey) {
            draw_line(x, y, nx, ny, black);
            visit_point(na, nb);
        }
    }
}

// The smallest whole number of units whose circle about the origin has every
// point of norm up to `norm` strictly inside: floor(sqrt(norm)) + 1.
static int enclosing_radius(int norm)
{
    int r = 0;
    while (r * r <= norm)
        r++;
    return r;
}

// a + bi written as a Gaussian integer: "1 + i", "5 - 2i", "-3", "7i".
static std::string gaussian_text(int a, int b)
{
    std::string imaginary = b == 1 || b == -1 ? "i" : std::to_string(b < 0 ? -b : b) + "i";
    if (b == 0)
        return std::to_string(a);
    if (a == 0)
        return (b < 0 ? "-" : "") + imaginary;
    return std::to_string(a) + (b < 0 ? " - " : " + ") + imaginary;
}

int main(int argc, char *argv[])
{
    // The start may be any Gaussian prime of the square whose point the plot
    // draws: its centre pixel (400 + a*s, 300 - b*s) lies in the window.
    Parameters parameters(argc, argv);
    int a_low = std::max(-bound, -(400 / scale)), a_high = std::min(bound, 399 / scale);
    int b_low = std::max(-bound, -(299 / scale)), b_high = std::min(bound, 300 / scale);
    int start_a = static_cast<int>(parameters.integer({.name = "a",
                                                       .meaning = "the real part of the start a + bi",
                                                       .builtin = 1,
                                                       .low = a_low,
                                                       .high = a_high}));
    int start_b = static_cast<int>(parameters.integer({.name = "b",
                                                       .meaning = "the imaginary part of the start a + bi",
                                                       .builtin = 1,
                                                       .low = b_low,
                                                       .high = b_high}));
    parameters.require(gaussian_prime(start_a, start_b), "the start a + bi",
                       "a Gaussian prime (off the axes a*a + b*b prime; on an axis a prime of the form "
                       "4k + 3), and " + gaussian_text(start_a, start_b) + " is not");
    if (!parameters.ready())
        return parameters.report();

    open_screen(2);
    white = SDL_MapRGB(screen->format, 255, 255, 255);
    black = SDL_MapRGB(screen->format, 0, 0, 0);
    grey = SDL_MapRGB(screen->format, grey_level, grey_level, grey_level);
    SDL_FillRect(screen, nullptr, white);

    // Stage 1: the Gaussian primes of the square, as grey discs.
    plot_gaussian_primes(bound, plot_point);
    show_stage("the Gaussian primes a + bi with |a|, |b| <= %d, as grey discs", bound);
    wait_key_or_quit();

    // Stage 2: the walk from the start (1 + i, of norm 2, unless given), and
    // the smallest circle about the origin, in whole units, that holds every
    // point reached.
    visit_point(start_a, start_b);
    int circle_units = enclosing_radius(farthest_norm);
    draw_circle(400, 300, circle_units * scale, black);
    show_stage("the %d primes that the %d steps reach from %s, inside the circle of radius %d", reached, step_count,
               gaussian_text(start_a, start_b).c_str(), circle_units);
    wait_key_or_quit();
    return 0;
}
