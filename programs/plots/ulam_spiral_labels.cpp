// The first 72 steps of the square spiral on which the Ulam spiral writes the
// numbers, at 40 pixels a step: each step a black segment, its number beside
// the point it reaches, a dot on every point but the last, and the title
// " ULAM". The text is set in "times.ttf", taken from the working directory
// or else from beside the program.
#include "arith/arith.hpp"
#include "arith/spiral.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "plots.hpp"
#include <cstdio>

const char font_file[] = "times.ttf";
const int font_size = 20;
const int unit = 40; // pixels per lattice step
const int rounds = 4; // rounds of 1 + 1 + 2 + 2, ..., 7 + 7 + 8 + 8 steps: 72
const int dot_radius = 2;

const Colour white = map_colour(255, 255, 255);
const Colour black = map_colour(0, 0, 0);

// Where each step's label goes, by the side of the round that the step
// takes (right, up, left, down): its top-left corner relative to the pixel
// of the point reached.
const int label_dx[] = {-12, 0, -12, -30};
const int label_dy[] = {-3, -13, -25, -13};

// Pixel of lattice point (x, y): the origin at the centre of the window.
static int pixel_x(const SpiralPoint &p)
{
    return window_centre_x + unit * p.x;
}
static int pixel_y(const SpiralPoint &p)
{
    return window_centre_y + unit * p.y;
}

// The spiral walked, drawn, numbered and dotted; returns the last point.
static SpiralPoint spiral_steps(const TextFont *font, Steps &out)
{
    const int rounds_steps = 4 * rounds * rounds + 2 * rounds;
    out.run("spiral_steps", "steps", rounds_steps, "rounds", rounds, "unit", unit);
    draw_text(font, " ULAM", 20, 80, black);

    // The spiral in rounds: L steps right, L up, L + 1 left, L + 1 down, for
    // L = 1, 3, 5, 7. Each round closes one more ring about the centre, and
    // the fourth ends at step 72 on the lattice point (-4, 4). Each step is
    // numbered beside the point it reaches.
    std::vector<SpiralPoint> spiral = square_spiral(rounds);
    const int last_step = static_cast<int>(spiral.size()) - 1;
    for (int i = 1; i <= last_step; i++) {
        const SpiralPoint &from = spiral[i - 1], &to = spiral[i];
        draw_line(pixel_x(from), pixel_y(from), pixel_x(to), pixel_y(to), black);
        char label[16];
        snprintf(label, sizeof label, " %d", i);
        draw_text(font, label, pixel_x(to) + label_dx[to.side], pixel_y(to) + label_dy[to.side], black);
    }
    // Round r (L = 2r - 1) ends on step 4r^2 + 2r, at the corner (-r, r).
    for (int r = 1; r <= rounds; r++) {
        int end = 4 * r * r + 2 * r;
        out.step("round", "round", r, "side", 2 * r - 1, "first", end - 8 * r + 3, "last", end, "x", spiral[end].x,
                 "y", spiral[end].y);
    }

    // The dots last, over any label pixels near the points; the point
    // reached by the last step has none.
    for (int j = 0; j < last_step; j++)
        fill_disc(pixel_x(spiral[j]), pixel_y(spiral[j]), dot_radius, black);
    // The read-out: the step that reaches the lattice point nearest the
    // pointer, and the number that the Ulam spiral writes there, one more.
    set_readout([spiral](int x, int y) {
        int X = nearest_lattice(x - window_centre_x, unit), Y = nearest_lattice(y - window_centre_y, unit);
        for (size_t i = 0; i < spiral.size(); i++)
            if (spiral[i].x == X && spiral[i].y == Y)
                return format("step %zu: n = %zu, %s", i, i + 1, is_prime(static_cast<int>(i) + 1) ? "prime" : "not prime");
        return std::string();
    });
    std::string caption = format("the first %d steps of the spiral, each numbered where it arrives", last_step);
    show_stage(out, "steps", caption, "stage", 1, "count", 1, "steps", last_step);
    const SpiralPoint &end = spiral[last_step];
    out.result("spiral_steps", "steps", last_step, "x", end.x, "y", end.y);
    wait_for_key(out);
    return end;
}

int main(int argc, char *argv[])
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters parameters(argc, argv);
    parameters.add_usage(view_usage(ulam_spiral_labels_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, ulam_spiral_labels_explain);
    open_screen(1);
    clear_screen(white);
    spiral_steps(open_font(font_file, font_size), view);
    view.finish();
    return 0;
}
