// The Ulam spiral: the numbers 1, 2, 3, ... laid out on a square spiral of
// lattice points about the centre of the window, every prime marked with a
// dot. The forty values of a polynomial n*n + b*n + c (n = 0..39), Euler's
// n*n + n + 41 unless b and c are given, are then picked out, their verdicts
// read back from the picture: a value whose centre pixel is black was
// marked prime and turns red; any other value gets a black blot.
#include "arith/arith.hpp"
#include "arith/polynomial.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include <string>

// Lattice coordinates of the number k + 1 (y grows downward, as rows do).
// Kept program-wide: 800 kB is no size for a stack frame.
static int spiral_x[100000];
static int spiral_y[100000];

const int rounds = 72; // side lengths 1, 1, 2, 2, ..., 144, 144
// The rounds lay 4L + 2 numbers each, L = 1, 3, ..., 143: the spiral holds
// the numbers 1 to 4 * 72^2 + 2 * 72 + 1 = 20881.
const int spiral_last = 4 * rounds * rounds + 2 * rounds + 1;
const int values = 40; // the polynomial at n = 0..39

static Uint32 white, light_grey, black, red;

// Pixel of table entry i: 4 pixels per lattice step, the number 1 at (400, 300).
static int pixel_x(int i)
{
    return 400 + 4 * spiral_x[i];
}
static int pixel_y(int i)
{
    return 300 + 4 * spiral_y[i];
}

// Appends `steps` points to the spiral, each one lattice step (dx, dy) from
// the last, and draws the path to each new point.
static void walk(int &i, int steps, int dx, int dy)
{
    for (int s = 0; s < steps; s++) {
        i++;
        spiral_x[i] = spiral_x[i - 1] + dx;
        spiral_y[i] = spiral_y[i - 1] + dy;
        draw_line(pixel_x(i - 1), pixel_y(i - 1), pixel_x(i), pixel_y(i), light_grey);
    }
}

// The polynomial as the captions write it: "n*n + n + 41", "n*n - 79*n + 1601".
static std::string polynomial_text(long long b, long long c)
{
    std::string text = "n*n";
    if (b != 0)
        text += (b < 0 ? " - " : " + ") + (b == 1 || b == -1 ? "" : std::to_string(b < 0 ? -b : b) + "*") + "n";
    if (c != 0)
        text += (c < 0 ? " - " : " + ") + std::to_string(c < 0 ? -c : c);
    return text;
}

int main(int argc, char **argv)
{
    // b and c keep every value of the polynomial among the spiral's numbers
    // 1 to 20881, whose centre pixels the last stage reads.
    Parameters parameters(argc, argv);
    IntegerRange b_range = polynomial_b_range(values - 1, 1, spiral_last);
    long long b = parameters.integer({.name = "b",
                                      .meaning = "the coefficient of n in n*n + b*n + c",
                                      .builtin = 1,
                                      .low = b_range.low,
                                      .high = b_range.high});
    IntegerRange c_range = polynomial_c_range(b, values - 1, 1, spiral_last);
    std::string c_text = "every value within 1.." + std::to_string(spiral_last) + ", so " +
                         std::to_string(c_range.low) + " <= c <= " + std::to_string(c_range.high) +
                         " for b = " + std::to_string(b);
    long long c = parameters.integer({.name = "c",
                                      .meaning = "the constant term of n*n + b*n + c",
                                      .builtin = 41,
                                      .low = c_range.low,
                                      .high = c_range.high,
                                      .range = c_text.c_str()});
    if (!parameters.ready())
        return parameters.report();

    open_screen(3);
    white = SDL_MapRGB(screen->format, 255, 255, 255);
    light_grey = SDL_MapRGB(screen->format, 240, 240, 240);
    black = SDL_MapRGB(screen->format, 0, 0, 0);
    red = SDL_MapRGB(screen->format, 255, 0, 0);
    SDL_FillRect(screen, nullptr, white);

    // Stage 1: the path. Round L goes L right, L up, L + 1 left, L + 1 down,
    // so that each round closes one more ring about the number 1.
    int i = 0;
    spiral_x[0] = spiral_y[0] = 0;
    for (int L = 1; L < 2 * rounds; L += 2) {
        walk(i, L, 1, 0);
        walk(i, L, 0, -1);
        walk(i, L + 1, -1, 0);
        walk(i, L + 1, 0, 1);
    }
    // i is now 20880: the spiral holds 1 to 20881. Shown without a wait.
    show_stage("the numbers 1 to %d on a square spiral, its path in light grey", i + 1);

    // Stage 2: a dot on every prime below the last index.
    std::vector<int> prime_table = sieve_primes(100000);
    int dots = 0;
    for (int n = 2; n < i; n++)
        if (prime_table[n] != 0) {
            fill_disc(pixel_x(n - 1), pixel_y(n - 1), 2, black);
            dots++;
        }
    show_stage("the %d primes up to %d, one black dot each", dots, i - 1);
    wait_key_or_quit();

    // Stage 3: the polynomial. A value is prime exactly when its centre pixel
    // carries a dot; discs of radius 2 on points 4 pixels apart never reach a
    // neighbour's centre, and the path is light grey, not black (20880 and
    // 20881, never dotted, are composite). All forty verdicts are read before
    // anything is drawn, since a blot covers the centres of its neighbours
    // and a value can come twice; then the blots are drawn, and the red discs
    // over them, so that every prime stays in sight.
    int value[values];
    bool prime[values];
    int composites = 0;
    for (int k = 0; k < values; k++) {
        value[k] = static_cast<int>(k * k + b * k + c);
        prime[k] = get_pixel(pixel_x(value[k] - 1), pixel_y(value[k] - 1)) == black;
        composites += !prime[k];
    }
    for (int k = 0; k < values; k++)
        if (!prime[k])
            fill_disc(pixel_x(value[k] - 1), pixel_y(value[k] - 1), 10, black);
    for (int k = 0; k < values; k++)
        if (prime[k])
            fill_disc(pixel_x(value[k] - 1), pixel_y(value[k] - 1), 2, red);
    std::string polynomial = polynomial_text(b, c);
    if (composites == 0)
        show_stage("the values of %s for n = 0 to 39 in red; a black blot would be a composite",
                   polynomial.c_str());
    else
        show_stage("the values of %s for n = 0 to 39: %d of them prime, in red; %d not prime, as black blots",
                   polynomial.c_str(), values - composites, composites);
    wait_key_or_quit();
    return 0;
}
