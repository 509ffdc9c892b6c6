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
#include "plots.hpp"
#include <algorithm>
#include <string>

#if GAUSSIAN_STEPS == 8
// The eight neighbours at Chebyshev distance 1.
const int scale = 12;       // pixels per lattice unit
const int bound = 54;       // a and b run from -bound to bound
const int point_radius = 2; // the grey disc of a plotted prime
const uint8_t grey_level = 100;
const int step_dx[] = {1, 0, -1, 0, 1, -1, -1, 1};
const int step_dy[] = {0, 1, 0, -1, 1, 1, -1, -1};
#elif GAUSSIAN_STEPS == 12
// Every nonzero step of Euclidean length at most 2.
const int scale = 6;
const int bound = 49;
const int point_radius = 1;
const uint8_t grey_level = 100;
#include "gaussian_steps.hpp"
#elif GAUSSIAN_STEPS == 24
// Every nonzero step within the 5x5 square, Chebyshev distance at most 2.
const int scale = 3;
const int bound = 119;
const int point_radius = 1;
const uint8_t grey_level = 120;
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

const Colour white = map_colour(255, 255, 255);
const Colour black = map_colour(0, 0, 0);
const Colour grey = map_colour(grey_level, grey_level, grey_level);

// Centre pixel of the lattice point a + bi: b grows upward.
static int pixel_x(int a)
{
    return window_centre_x + a * scale;
}
static int pixel_y(int b)
{
    return window_centre_y - b * scale;
}

// The part of the square whose centres lie in the window: the lattice the
// picture shows, and the starts it accepts.
struct Lattice {
    int a_low, a_high, b_low, b_high;
};
static Lattice lattice_shown()
{
    return {std::max(-bound, -(window_centre_x / scale)), std::min(bound, (window_width - 1 - window_centre_x) / scale),
            std::max(-bound, -((window_height - 1 - window_centre_y) / scale)),
            std::min(bound, window_centre_y / scale)};
}

// Whether a + bi is a point of the picture: in the square, centre in the window.
static bool in_picture(int a, int b)
{
    Lattice shown = lattice_shown();
    return a >= shown.a_low && a <= shown.a_high && b >= shown.b_low && b <= shown.b_high;
}

// The Gaussian primes plotted, counted as their discs are drawn.
static int plotted = 0;

// A grey disc for a + bi, only when its centre lies in the window.
static void plot_point(int a, int b)
{
    int x = pixel_x(a), y = pixel_y(b);
    if (centre_in_window(a, b, x, y)) {
        fill_disc(x, y, point_radius, grey);
        plotted++;
    }
}

// The points reached so far; the farthest from 0 (the first met with the
// largest norm a*a + b*b); and the steps from them that land on a Gaussian
// prime outside the picture, which the walk cannot follow.
struct Reached {
    int count = 0, farthest_norm = 0, farthest_a = 0, farthest_b = 0, beyond = 0;
};

// Enters the prime a + bi: marks it black, then follows every step that
// lands on a grey centre, one branch at a time. A neighbour reached by an
// earlier branch is black by the time its own step is tried, so every prime
// is entered once and the segments form the depth-first tree of the walk.
// A neighbour whose centre lies outside the window is no plotted prime.
// One level per point of the current path: 1211 from 1 + i with 24 steps.
static void visit_point(int a, int b, Reached &reached)
{
    int x = pixel_x(a), y = pixel_y(b);
    fill_disc(x, y, reached_radius, black);
    reached.count++;
    if (a * a + b * b > reached.farthest_norm) {
        reached.farthest_norm = a * a + b * b;
        reached.farthest_a = a;
        reached.farthest_b = b;
    }
    for (int k = 0; k < step_count; k++) {
        int na = a + step_dx[k], nb = b + step_dy[k];
        int nx = pixel_x(na), ny = pixel_y(nb);
        if (inside_window(nx, ny) && get_pixel(nx, ny) == grey) {
            draw_line(x, y, nx, ny, black);
            visit_point(na, nb, reached);
        } else if (!in_picture(na, nb) && gaussian_prime(na, nb)) {
            reached.beyond++;
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

// The two stages: the Gaussian primes, then the walk from a + bi and its circle.
static Reached gaussian_walk(int start_a, int start_b, Steps &out)
{
    Lattice shown = lattice_shown();
    out.run("gaussian_walk", "steps", step_count, "scale", scale, "bound", bound, "a", start_a, "b", start_b,
            "a_low", shown.a_low, "a_high", shown.a_high, "b_low", shown.b_low, "b_high", shown.b_high);

    // Stage 1: the Gaussian primes of the square, as grey discs. The
    // read-out names the point of the picture nearest the pointer; the
    // stages give the pixels of the origin and of the start.
    plot_gaussian_primes(bound, plot_point);
    set_readout([](int x, int y) {
        int a = nearest_lattice(x - window_centre_x, scale), b = nearest_lattice(window_centre_y - y, scale);
        return in_picture(a, b) ? gaussian_readout(a, b) : std::string();
    });
    std::string caption = format("the Gaussian primes a + bi with |a|, |b| <= %d, as grey discs", bound);
    show_stage(out, "primes", caption, "stage", 1, "count", 2, "bound", bound, "plotted", plotted, "origin_x",
               window_centre_x, "origin_y", window_centre_y, "start_x", pixel_x(start_a), "start_y", pixel_y(start_b));
    wait_for_key(out);

    // Stage 2: the walk from the start (1 + i, of norm 2, unless given), and
    // the smallest circle about the origin, in whole units, that holds every
    // point reached.
    Reached reached;
    visit_point(start_a, start_b, reached);
    int circle_units = enclosing_radius(reached.farthest_norm);
    draw_circle(window_centre_x, window_centre_y, circle_units * scale, black);
    caption = format("the %d primes that the %d steps reach from %s, inside the circle of radius %d", reached.count,
                     step_count, gaussian_text(start_a, start_b).c_str(), circle_units);
    show_stage(out, "walk", caption, "stage", 2, "count", 2, "reached", reached.count, "steps", step_count, "a",
               start_a, "b", start_b, "radius", circle_units, "farthest_a", reached.farthest_a, "farthest_b",
               reached.farthest_b, "farthest_norm", reached.farthest_norm, "beyond", reached.beyond, "origin_x",
               window_centre_x, "origin_y", window_centre_y, "start_x", pixel_x(start_a), "start_y", pixel_y(start_b));
    const std::vector<long long> start{start_a, start_b};
    out.result("gaussian_walk", "start", start, "reached", reached.count, "radius", circle_units, "farthest_norm",
               reached.farthest_norm, "plotted", plotted, "beyond", reached.beyond);
    wait_for_key(out);
    return reached;
}

int main(int argc, char *argv[])
{
    // The start may be any Gaussian prime of the square whose point the plot
    // draws: its centre pixel (400 + a*s, 300 - b*s) lies in the window.
    ViewOptions options = take_view_options(argc, argv);
    Parameters parameters(argc, argv);
    Lattice shown = lattice_shown();
    int start_a = static_cast<int>(parameters.integer({.name = "a",
                                                       .meaning = "the real part of the start a + bi",
                                                       .builtin = 1,
                                                       .low = shown.a_low,
                                                       .high = shown.a_high}));
    int start_b = static_cast<int>(parameters.integer({.name = "b",
                                                       .meaning = "the imaginary part of the start a + bi",
                                                       .builtin = 1,
                                                       .low = shown.b_low,
                                                       .high = shown.b_high}));
    parameters.require(gaussian_prime(start_a, start_b), "the start a + bi",
                       "a Gaussian prime (off the axes a*a + b*b prime; on an axis a prime of the form "
                       "4k + 3), and " + gaussian_text(start_a, start_b) + " is not");
    parameters.add_usage(view_usage(gaussian_walk_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, gaussian_walk_explain);
    open_screen(2);
    clear_screen(white);
    gaussian_walk(start_a, start_b, view);
    view.finish();
    return 0;
}
