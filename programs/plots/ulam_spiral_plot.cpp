// The Ulam spiral: the numbers 1, 2, 3, ... laid out on a square spiral of
// lattice points about the centre of the window, every prime marked with a
// dot. The forty values of a polynomial n*n + b*n + c (n = 0..39), Euler's
// n*n + n + 41 unless b and c are given, are then picked out, their verdicts
// read back from the picture: a value whose centre pixel is black was
// marked prime and turns red; any other value gets a black blot.
#include "arith/arith.hpp"
#include "arith/polynomial.hpp"
#include "arith/spiral.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include "plots.hpp"
#include <string>

const int rounds = 72; // side lengths 1, 1, 2, 2, ..., 144, 144
// The rounds lay 4L + 2 numbers each, L = 1, 3, ..., 143: the spiral holds
// the numbers 1 to 4 * 72^2 + 2 * 72 + 1 = 20881.
const int spiral_last = 4 * rounds * rounds + 2 * rounds + 1;
const int values = 40; // the polynomial at n = 0..39
const int stages = 3;

const Colour white = map_colour(255, 255, 255);
const Colour light_grey = map_colour(240, 240, 240);
const Colour black = map_colour(0, 0, 0);
const Colour red = map_colour(255, 0, 0);

// Pixel of a point of the spiral: 4 pixels per lattice step, the origin
// (the number 1) at the centre of the window.
struct Pixel {
    int x, y;
};
static Pixel pixel_of(const SpiralPoint &p)
{
    return {window_centre_x + 4 * p.x, window_centre_y + 4 * p.y};
}

// What the spiral shows at a pixel: the number at the nearest lattice point
// and the sieve's verdict on it; nothing off the spiral.
static Readout spiral_readout(const std::vector<SpiralPoint> &spiral, const std::vector<int> &prime_table)
{
    constexpr int side = 2 * rounds + 1;
    std::vector<int> number(side * side);
    std::vector<bool> prime(spiral.size() + 1);
    for (size_t k = 0; k < spiral.size(); k++) {
        number[spiral[k].x + rounds + side * (spiral[k].y + rounds)] = static_cast<int>(k) + 1;
        prime[k + 1] = prime_table[k + 1] != 0;
    }
    return [number, prime](int x, int y) {
        int X = nearest_lattice(x - window_centre_x, 4), Y = nearest_lattice(y - window_centre_y, 4);
        if (X < -rounds || X > rounds || Y < -rounds || Y > rounds)
            return std::string();
        int n = number[X + rounds + side * (Y + rounds)];
        return format("n = %d, %s", n, prime[n] ? "prime" : "not prime");
    };
}

// What the picture shows: the primes dotted, and the verdicts on the values.
struct SpiralPicture {
    int primes = 0, values_prime = 0, values_composite = 0;
};

// The three stages, drawn one over the other on the white screen.
static SpiralPicture ulam_spiral(long long b, long long c, Steps &out)
{
    out.run("ulam_spiral", "b", b, "c", c, "last", spiral_last, "rounds", rounds, "values", values);

    // Stage 1: the path. Point k of the spiral holds the number k + 1.
    std::vector<SpiralPoint> spiral = square_spiral(rounds);
    for (size_t k = 1; k < spiral.size(); k++) {
        Pixel from = pixel_of(spiral[k - 1]), to = pixel_of(spiral[k]);
        draw_line(from.x, from.y, to.x, to.y, light_grey);
    }
    // i, the last point, is 20880: the spiral holds 1 to 20881. Shown
    // without a wait.
    int i = static_cast<int>(spiral.size()) - 1;
    std::string caption = format("the numbers 1 to %d on a square spiral, its path in light grey", i + 1);
    show_stage(out, "path", caption, "stage", 1, "count", stages, "first", 1, "last", i + 1);

    // Stage 2: a dot on every prime below the last index.
    std::vector<int> prime_table = sieve_primes(100000);
    SpiralPicture shown;
    for (int n = 2; n < i; n++)
        if (prime_table[n] != 0) {
            Pixel at = pixel_of(spiral[n - 1]);
            fill_disc(at.x, at.y, 2, black);
            shown.primes++;
        }
    set_readout(spiral_readout(spiral, prime_table));
    caption = format("the %d primes up to %d, one black dot each", shown.primes, i - 1);
    show_stage(out, "primes", caption, "stage", 2, "count", stages, "primes", shown.primes, "limit", i - 1);
    wait_for_key(out);

    // Stage 3: the polynomial. A value is prime exactly when its centre pixel
    // carries a dot; discs of radius 2 on points 4 pixels apart never reach a
    // neighbour's centre, and the path is light grey, not black (20880 and
    // 20881, never dotted, are composite). All forty verdicts are read before
    // anything is drawn, since a blot covers the centres of its neighbours
    // and a value can come twice; then the blots are drawn, and the red discs
    // over them, so that every prime stays in sight.
    Pixel centre[values]; // of the number k*k + b*k + c
    bool prime[values];
    for (int k = 0; k < values; k++) {
        centre[k] = pixel_of(spiral[k * k + b * k + c - 1]);
        prime[k] = get_pixel(centre[k].x, centre[k].y) == black;
        shown.values_composite += !prime[k];
    }
    shown.values_prime = values - shown.values_composite;
    for (int k = 0; k < values; k++)
        if (!prime[k])
            fill_disc(centre[k].x, centre[k].y, 10, black);
    for (int k = 0; k < values; k++)
        if (prime[k])
            fill_disc(centre[k].x, centre[k].y, 2, red);
    std::string polynomial = polynomial_text(b, c);
    if (shown.values_composite == 0)
        caption = format("the values of %s for n = 0 to %d in red; a black blot would be a composite",
                         polynomial.c_str(), values - 1);
    else
        caption = format("the values of %s for n = 0 to %d: %d of them prime, in red; %d not prime, as black blots",
                         polynomial.c_str(), values - 1, shown.values_prime, shown.values_composite);
    show_stage(out, "values", caption, "stage", 3, "count", stages, "b", b, "c", c, "first_n", 0, "last_n", values - 1,
               "values_prime", shown.values_prime, "values_composite", shown.values_composite);
    for (int k = 0; k < values; k++)
        out.item("value", "n", k, "value", k * k + b * k + c, "prime", prime[k] ? 1 : 0);
    out.result("ulam_spiral", "b", b, "c", c, "primes", shown.primes, "values_prime", shown.values_prime,
               "values_composite", shown.values_composite);
    wait_for_key(out);
    return shown;
}

int main(int argc, char **argv)
{
    // b and c keep every value of the polynomial among the spiral's numbers
    // 1 to 20881, whose centre pixels the last stage reads.
    ViewOptions options = take_view_options(argc, argv);
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
    parameters.add_usage(view_usage(ulam_spiral_plot_legend));
    if (!parameters.ready())
        return parameters.report();

    PictureView view(options, ulam_spiral_plot_explain);
    open_screen(stages);
    clear_screen(white);
    ulam_spiral(b, c, view);
    view.finish();
    return 0;
}
