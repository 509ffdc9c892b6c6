// The prime number theorem seen on a plot: for every even n up to 50000, the
// count pi(n) of primes not above n as a black dot, and the estimate n / ln n
// as a smaller grey dot, on common axes.
//
// Column 20 + 0.015 n and row 550 - 0.1 v are evaluated in extended precision
// from the double constants 0.015 (just below 3/200) and 0.1 (just above
// 1/10), and truncated: where the exact value is whole, the pixel is the one
// before it.
#include "arith/arith.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "plots.hpp"
#include <cmath>

const int bound = 50000;
const int checkpoint = bound / 10; // the counts listed beside their estimates

static const long double column_scale = static_cast<long double>(0.015); // pixels per unit of n
static const long double row_scale = static_cast<long double>(0.1);      // pixels per unit of a count

const Colour white = map_colour(255, 255, 255);
const Colour black = map_colour(0, 0, 0);
const Colour grey = map_colour(150, 150, 150);

// The counts and the estimates up to the bound, on their axes; returns pi
// of the bound.
static int prime_count(Steps &out)
{
    out.run("prime_count", "limit", bound);
    std::vector<int> prime_table = sieve_primes(bound);

    // The axes through the origin (20, 550), drawn to the window's right
    // edge and beyond its top; clipping cuts them at the last column and at
    // row 0.
    draw_line_clipped(20, 550, window_width, 550, black);
    draw_line_clipped(20, 550, 20, -30, black);

    // pi(n) grows by the primes of (n - 2, n], so one pass over the table
    // serves every n. The read-out names, for a column, the last n plotted
    // in it and pi(n).
    int c = 0, counted = 0;
    std::vector<int> column_n(window_width), column_pi(window_width);
    for (int n = 2; n <= bound; n += 2) {
        while (counted < n) {
            counted++;
            if (prime_table[counted] != 0)
                c++;
        }
        int x = truncate_toward_zero(n * column_scale + 20);
        column_n[x] = n;
        column_pi[x] = c;
        int y1 = truncate_toward_zero(550 - c * row_scale);
        // The estimate n / ln n never comes within 2.6e-5 of a whole row, so
        // the library's double logarithm decides no pixel.
        int y2 = truncate_toward_zero(550 - (n / static_cast<long double>(std::log(n))) * row_scale);
        fill_disc(x, y1, 2, black);
        fill_disc(x, y2, 1, grey);
        // The count beside its estimate at every tenth of the range.
        if (n % checkpoint == 0)
            out.item("checkpoint", "n", n, "pi", c, "estimate", n / std::log(static_cast<double>(n)));
    }

    // n = 50000 as a vertical line, and ticks on the y axis at the counts
    // 1000 to 5000.
    draw_line_clipped(770, 550, 770, 40, black);
    for (int Y = 450; Y >= 50; Y -= 100)
        draw_line_clipped(15, Y, 25, Y, black);

    set_readout([column_n, column_pi](int x, int) {
        return column_n[x] ? format("n = %d, pi(n) = %d", column_n[x], column_pi[x]) : std::string();
    });

    // The axes' numbers, with their pixels, for a page to write beside them:
    // n every fifth of the range along the x axis (row 550), the counts at
    // the ticks of the y axis (column 20).
    std::vector<long long> n_marks, n_columns, count_marks, count_rows;
    for (int n = 0; n <= bound; n += checkpoint * 2) {
        n_marks.push_back(n);
        n_columns.push_back(truncate_toward_zero(n * column_scale + 20));
    }
    for (int Y = 450; Y >= 50; Y -= 100) {
        count_marks.push_back((550 - Y) * 10);
        count_rows.push_back(Y);
    }

    double estimate = bound / std::log(static_cast<double>(bound));
    std::string caption =
        format("pi(n) in black above n / ln n in grey, for the even n up to %d (pi(%d) = %d)", bound, bound, c);
    show_stage(out, "counts", caption, "stage", 1, "count", 1, "limit", bound, "pi", c, "estimate", estimate, "axis_row",
               550, "axis_column", 20, "n_marks", n_marks, "n_columns", n_columns, "count_marks", count_marks,
               "count_rows", count_rows);
    out.result("prime_count", "limit", bound, "pi", c, "estimate", estimate, "ratio", c / estimate);
    wait_for_key(out);
    return c;
}

int main(int argc, char **argv)
{
    ViewOptions options = take_view_options(argc, argv);
    Parameters parameters(argc, argv);
    parameters.add_usage(view_usage(prime_count_plot_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, prime_count_plot_explain);
    open_screen(1);
    clear_screen(white);
    prime_count(view);
    view.finish();
    return 0;
}
