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
#include <cmath>

const int bound = 50000;

static const long double column_scale = static_cast<long double>(0.015); // pixels per unit of n
static const long double row_scale = static_cast<long double>(0.1);      // pixels per unit of a count

int main(int argc, char **argv)
{
    Parameters parameters(argc, argv);
    if (!parameters.ready())
        return parameters.report();

    open_screen(1);
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
    Uint32 grey = SDL_MapRGB(screen->format, 150, 150, 150);
    SDL_FillRect(screen, nullptr, white);

    std::vector<int> prime_table = sieve_primes(bound);

    // The axes through the origin (20, 550); clipping cuts them at the
    // window's edge, the x axis at column 799 and the y axis at row 0.
    draw_line_clipped(20, 550, 800, 550, black);
    draw_line_clipped(20, 550, 20, -30, black);

    // pi(n) grows by the primes of (n - 2, n], so one pass over the table
    // serves every n.
    int c = 0, counted = 0;
    for (int n = 2; n <= bound; n += 2) {
        while (counted < n) {
            counted++;
            if (prime_table[counted] != 0)
                c++;
        }
        int x = static_cast<int>(n * column_scale + 20);
        int y1 = static_cast<int>(550 - c * row_scale);
        // The estimate n / ln n never comes within 2.6e-5 of a whole row, so
        // the library's double logarithm decides no pixel.
        int y2 = static_cast<int>(550 - (n / static_cast<long double>(std::log(n))) * row_scale);
        fill_disc(x, y1, 2, black);
        fill_disc(x, y2, 1, grey);
    }

    // n = 50000 as a vertical line, and ticks on the y axis at the counts
    // 1000 to 5000.
    draw_line_clipped(770, 550, 770, 40, black);
    for (int Y = 450; Y >= 50; Y -= 100)
        draw_line_clipped(15, Y, 25, Y, black);

    show_stage("pi(n) in black above n / ln n in grey, for the even n up to %d (pi(%d) = %d)", bound, bound, c);
    wait_key_or_quit();
    return 0;
}
