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
#include "plots.hpp"

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

// The Gaussian primes plotted, counted as their pixels are set.
static int plotted = 0;

// One blue pixel for a + bi, when it lies in the window (at this scale every
// point of the square does: x from 115 to 685, y from 15 to 585).
static void plot_point(int a, int b)
{
    int x = pixel_x(a), y = pixel_y(b);
    if (centre_in_window(a, b, x, y)) {
        put_pixel(x, y, blue);
        plotted++;
    }
}

// What the second stage shows: the pairs joined, and the primes whose pixel
// the circle covers, which take no part in the graph.
struct Graph {
    int edges = 0, covered = 0;
};

// The two stages: the points, then the graph read off the screen.
static Graph gaussian_graph(Steps &out)
{
    out.run("gaussian_graph", "steps", 12, "scale", scale, "bound", bound, "length", 2);

    // Stage 1: the Gaussian primes of the square, as blue pixels. The
    // read-out names the point of the square nearest the pointer.
    plot_gaussian_primes(bound, plot_point);
    set_readout([](int x, int y) {
        int a = nearest_lattice(x - window_centre_x, scale), b = nearest_lattice(window_centre_y - y, scale);
        return a >= -bound && a <= bound && b >= -bound && b <= bound ? gaussian_readout(a, b) : std::string();
    });
    std::string caption = format("the Gaussian primes a + bi with |a|, |b| <= %d, one blue pixel each", bound);
    show_stage(out, "primes", caption, "stage", 1, "count", 2, "bound", bound, "plotted", plotted);
    wait_for_key(out);

    // Stage 2: the grey circle of radius 46 first. It passes over the eight
    // primes (+-32, +-33) and (+-33, +-32) of norm 2113, which are then grey
    // and take no part in the scan.
    draw_circle(window_centre_x, window_centre_y, circle_units * scale, grey);

    // The scan, column by column. A blue pixel is the point a + bi (the
    // division is exact); each of its twelve steps that lands on blue is
    // joined by a segment. The segment paints its two ends black, so both are
    // made blue again for the rest of the scan. Every pair is met from both
    // ends, and the two drawings, in opposite directions, cover the union of
    // both pixel paths; the pair is counted from the end met first.
    Graph graph;
    int still_blue = 0;
    for (int x = 0; x < window_width; x++)
        for (int y = 0; y < window_height; y++) {
            if (get_pixel(x, y) != blue)
                continue;
            still_blue++;
            int a = (x - window_centre_x) / scale, b = (window_centre_y - y) / scale;
            for (int k = 0; k < 12; k++) {
                int nx = pixel_x(a + step_dx[k]), ny = pixel_y(b + step_dy[k]);
                if (get_pixel(nx, ny) == blue) {
                    draw_line(x, y, nx, ny, black);
                    put_pixel(x, y, blue);
                    put_pixel(nx, ny, blue);
                    graph.edges += nx > x || (nx == x && ny > y);
                }
            }
        }
    graph.covered = plotted - still_blue;
    caption = format("every two of them at most 2 apart joined in black; the grey circle of radius %d", circle_units);
    show_stage(out, "graph", caption, "stage", 2, "count", 2, "length", 2, "radius", circle_units, "edges", graph.edges,
               "covered", graph.covered);
    out.result("gaussian_graph", "plotted", plotted, "edges", graph.edges, "covered", graph.covered, "radius",
               circle_units);
    wait_for_key(out);
    return graph;
}

int main(int argc, char *argv[])
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters parameters(argc, argv);
    parameters.add_usage(view_usage(gaussian_graph_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, gaussian_graph_explain);
    open_screen(2);
    clear_screen(white);
    gaussian_graph(view);
    view.finish();
    return 0;
}
