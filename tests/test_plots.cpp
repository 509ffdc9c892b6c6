// The pictures of ulam_spiral_plot, prime_count_plot and fermat_walk_plot,
// read from the PNGs of their capture variants. Expected pictures are built
// here by references of their own: the spiral's positions from a closed form
// of its rings, primes by trial division, the plot scales in exact integer
// arithmetic, the hyperbola's float steps on an integer grid. Each test
// first checks its reference against figures worked out by hand.
#include "arith/fermat_walk.hpp"
#include "arith/spiral.hpp"
#include "harness.hpp"
#include "picture_shapes.hpp"
#include "plot_events.hpp"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>

using Points = std::set<std::pair<int, int>>;

const uint32_t white = 0xFFFFFF, black = 0x000000;


// Every pixel of the axis-parallel segment between two pixels, both ends included.
static void paint_straight(Picture &picture, int x0, int y0, int x1, int y1, uint32_t colour)
{
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); x++)
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); y++)
            picture.set(x, y, colour);
}

// ---------------------------------------------------------------------------
// ulam_spiral_plot

const uint32_t light_grey = 0xF0F0F0, red = 0xFF0000;
const int spiral_last = 20881;

// Lattice point of the number n on the spiral (y downward). Ring k >= 1 holds
// the numbers after (2k - 1)^2 up to (2k + 1)^2, which sits at (k, k); going
// back from there the ring runs left along its bottom side, up its left
// side, right along its top and down its right side, 2k numbers per side.
static std::pair<int, int> spiral_point(int n)
{
    if (n == 1)
        return {0, 0};
    int k = 0;
    while ((2 * k + 1) * (2 * k + 1) < n)
        k++;
    int back = (2 * k + 1) * (2 * k + 1) - n, side = back / (2 * k), j = back % (2 * k);
    switch (side) {
    case 0:
        return {k - j, k};
    case 1:
        return {-k, k - j};
    case 2:
        return {-k + j, -k};
    default:
        return {k, -k + j};
    }
}

static std::pair<int, int> spiral_pixel(int n)
{
    auto [X, Y] = spiral_point(n);
    return {400 + 4 * X, 300 + 4 * Y};
}

// The reference spiral: numbers 1 to 10 at (400, 300), (404, 300), ...,
// 41 at lattice point (-3, 1), 1601 at (-20, -20), 20881 at (-72, 72);
// successive numbers are lattice neighbours, and no point repeats.
static void check_spiral_reference()
{
    const std::pair<int, int> first_ten[] = {{400, 300}, {404, 300}, {404, 296}, {400, 296}, {396, 296},
                                             {396, 300}, {396, 304}, {400, 304}, {404, 304}, {408, 304}};
    for (int n = 1; n <= 10; n++)
        ASSERT_EQ(first_ten[n - 1], spiral_pixel(n)) << n;
    ASSERT_EQ(std::pair(-3, 1), spiral_point(41));
    ASSERT_EQ(std::pair(388, 312), spiral_pixel(43));
    ASSERT_EQ(std::pair(404, 312), spiral_pixel(47));
    ASSERT_EQ(std::pair(-20, -20), spiral_point(1601));
    ASSERT_EQ(std::pair(-72, 72), spiral_point(spiral_last));
    std::set<std::pair<int, int>> seen;
    for (int n = 1; n <= spiral_last; n++) {
        auto [x, y] = spiral_point(n);
        ASSERT_TRUE(seen.insert({x, y}).second) << n;
        if (n > 1) {
            auto [px, py] = spiral_point(n - 1);
            ASSERT_EQ(1, std::abs(x - px) + std::abs(y - py)) << n;
        }
    }
}

// The first held stage: the light grey path through 1 .. 20881, and a black
// disc on every prime below 20880 (the path is flipped without a wait, so
// the first held picture already has the primes).
static Picture spiral_with_primes(int *marked)
{
    Picture primes;
    for (int n = 1; n < spiral_last; n++) {
        auto [x0, y0] = spiral_pixel(n);
        auto [x1, y1] = spiral_pixel(n + 1);
        paint_straight(primes, x0, y0, x1, y1, light_grey);
    }
    *marked = 0;
    for (int n = 2; n < spiral_last - 1; n++)
        if (prime_by_trial_division(n)) {
            auto [x, y] = spiral_pixel(n);
            paint_disc(primes, x, y, 2, black);
            ++*marked;
        }
    return primes;
}

TEST(UlamSpiralPlot, PrimesThenEulersPolynomialInRed)
{
    check_spiral_reference();
    std::vector<Picture> got = capture_stages(CAPTURE(ulam_spiral_plot));
    ASSERT_EQ(2u, got.size());

    int marked = 0;
    Picture primes = spiral_with_primes(&marked);
    EXPECT_EQ(2348, marked);
    EXPECT_PICTURE(primes, got[0]);

    // Stage 2: all forty values of n*n + n + 41 are prime, so each black disc
    // turns red and no blot appears.
    Picture euler = primes;
    for (int k = 0; k < 40; k++) {
        int n = k * k + k + 41;
        ASSERT_TRUE(prime_by_trial_division(n) && n < spiral_last - 1) << n;
        auto [x, y] = spiral_pixel(n);
        paint_disc(euler, x, y, 2, red);
    }
    EXPECT_PICTURE(euler, got[1]);
}

// The path is shown without a wait, so the two pictures saved hold stages 2
// and 3 of 3, and the capture's record of captions says so.
TEST(UlamSpiralPlot, PicturesHoldTheSecondAndThirdStages)
{
    std::string dir = make_temp_dir(), record = dir + "/captions";
    RunOptions options;
    options.cwd = dir;
    options.env = {"SUITE_CAPTURE_CAPTIONS=" + record};
    ProgramRun run = run_program(CAPTURE(ulam_spiral_plot), options);
    EXPECT_EQ(0, run.status) << run.err;
    std::ifstream in(record);
    std::string first, second, more;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ("ulam_spiral_plot-1.png\tstage 2 of 3: the 2348 primes up to 20879, one black dot each", first);
    EXPECT_EQ(0u, second.rfind("ulam_spiral_plot-2.png\tstage 3 of 3: the values of n*n + n + 41 ", 0)) << second;
    EXPECT_FALSE(std::getline(in, more)) << more;
    std::string remove = "rm -rf '" + dir + "'";
    EXPECT_EQ(0, system(remove.c_str()));
}

// Other polynomials n*n + b*n + c: the same spiral and primes, then the
// verdict of each value: a red disc on a prime, and on anything else a black
// blot, the disc of radius 10, which holds exactly the 357 pixels within
// 10.7 of its centre. The blots lie under the red discs. -79 1601 runs
// through Euler's values backwards (n -> 39 - n); -39 421 gives each of
// Euler's first twenty values twice; n*n + 1 is prime for 11 values and is
// 1 at n = 0.
TEST(UlamSpiralPlot, OtherPolynomials)
{
    const struct {
        long b, c;
        const char *polynomial;
        int primes;
    } rows[] = {
        {-79, 1601, "n*n - 79*n + 1601", 40},
        {-39, 421, "n*n - 39*n + 421", 40},
        {0, 1, "n*n + 1", 11},
    };
    ASSERT_EQ(357u, disc_offsets(10).size());
    int marked = 0;
    const Picture primes = spiral_with_primes(&marked);

    for (const auto &row : rows) {
        SCOPED_TRACE(row.polynomial);
        std::string captions;
        std::vector<Picture> got =
            capture_stages(CAPTURE(ulam_spiral_plot), {std::to_string(row.b), std::to_string(row.c)}, &captions);
        ASSERT_EQ(2u, got.size());
        EXPECT_PICTURE(primes, got[0]);

        Picture expected = primes;
        std::vector<long> values;
        int prime_values = 0;
        for (long n = 0; n < 40; n++)
            values.push_back(n * n + row.b * n + row.c);
        for (long v : values)
            if (!prime_by_trial_division(v)) {
                auto [x, y] = spiral_pixel(static_cast<int>(v));
                paint_disc(expected, x, y, 10, black);
            }
        for (long v : values)
            if (prime_by_trial_division(v)) {
                auto [x, y] = spiral_pixel(static_cast<int>(v));
                paint_disc(expected, x, y, 2, red);
                prime_values++;
            }
        EXPECT_EQ(row.primes, prime_values);
        EXPECT_PICTURE(expected, got[1]);

        // The events: the primes dotted, and each value with its verdict.
        std::vector<JsonEvent> events = capture_events(CAPTURE(ulam_spiral_plot), {std::to_string(row.b),
                                                                                   std::to_string(row.c)});
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(marked, events.back()["primes"]);
        EXPECT_EQ(prime_values, events.back()["values_prime"]);
        EXPECT_EQ(40 - prime_values, events.back()["values_composite"]);
        std::vector<JsonEvent> listed = events_named(events, "item", "value");
        ASSERT_EQ(40u, listed.size());
        for (size_t n = 0; n < 40; n++) {
            EXPECT_EQ(values[n], listed[n]["value"]) << "n = " << n;
            EXPECT_EQ(prime_by_trial_division(values[n]), listed[n]["prime"] == 1) << values[n];
        }

        std::string caption = std::string("stage 3 of 3: the values of ") + row.polynomial + " for n = 0 to 39";
        caption += prime_values == 40 ? " in red; a black blot would be a composite\n"
                                      : ": " + std::to_string(prime_values) + " of them prime, in red; " +
                                            std::to_string(40 - prime_values) + " not prime, as black blots\n";
        EXPECT_NE(std::string::npos, captions.find(caption)) << captions;
    }
}

// b and c must keep all forty values within the spiral's 1 .. 20881. The
// values of n*n + b*n spread over 1521 + 39b for b >= 0 and over
// -1521 - 39b for b <= -78 (less between), so b runs from -574 to 496, where
// c runs from 1 to 20881 - 1521 - 39 * 496 = 16. For b = -79 the values
// n*n - 79n run from -1560 to 0, so c runs from 1561 to 20881, and -79
// alone, with the built-in c = 41, is refused.
TEST(UlamSpiralPlot, RefusesAPolynomialThatLeavesTheSpiral)
{
    const struct {
        std::vector<std::string> args;
        const char *says;
    } rows[] = {
        {{"497"}, "b must be an integer from -574 to 496"},
        {{"-575", "20000"}, "b must be an integer from -574 to 496"},
        {{"-79", "1560"}, "c must be an integer from 1561 to 20881"},
        {{"-79", "20882"}, "c must be an integer from 1561 to 20881"},
        {{"496", "17"}, "c must be an integer from 1 to 16"},
        {{"-79"}, "c must be given when b is -79: an integer from 1561 to 20881"},
    };
    for (const auto &row : rows) {
        RunOptions options;
        options.args = row.args;
        options.cwd = make_temp_dir();
        options.timeout_seconds = 30;
        ProgramRun run = run_program(CAPTURE(ulam_spiral_plot), options);
        EXPECT_EQ(2, run.status) << row.args[0];
        EXPECT_EQ("", run.out) << row.args[0];
        EXPECT_NE(std::string::npos, run.err.find(row.says)) << run.err;
        EXPECT_EQ(0, rmdir(options.cwd.c_str())) << "a picture was saved";
    }
}

// ---------------------------------------------------------------------------
// prime_count_plot

const uint32_t count_grey = 0x969696;

// Column of n: 20 + 0.015 n, where the double 0.015 lies just below 3/200, so
// that a whole 3n/200 truncates one lower.
static int count_column(int n)
{
    return 20 + (3 * n - 1) / 200;
}

// Row of a count c: 550 - c / 10 with the double 0.1 just above 1/10, so a
// whole c / 10 also truncates one lower: 549 - floor(c / 10).
static int count_row(int c)
{
    return 549 - c / 10;
}

// Row of n / ln n; it never comes near a whole number, so double suffices.
static int estimate_row(int n)
{
    return static_cast<int>(std::floor(550.0 - n / std::log(double(n)) / 10.0));
}

// The reference scales, against hand-worked cases: column 22 for n = 200
// (3n/200 = 3 exactly, truncated one lower) but 23 for n = 202; row 548 for
// the count 10; and n / ln n never within 1e-5 of a whole row, so double
// precision places the estimate as extended precision does.
TEST(PrimeCountPlot, CountAndEstimateOnTheAxes)
{
    const struct {
        int n, column;
    } columns[] = {{2, 20}, {200, 22}, {202, 23}, {30000, 469}, {50000, 769}};
    for (auto c : columns)
        ASSERT_EQ(c.column, count_column(c.n)) << "n = " << c.n;
    const struct {
        int c, row;
    } rows[] = {{1, 549}, {9, 549}, {10, 548}, {11, 548}, {5133, 36}};
    for (auto r : rows)
        ASSERT_EQ(r.row, count_row(r.c)) << "c = " << r.c;
    ASSERT_EQ(549, estimate_row(2));
    ASSERT_EQ(87, estimate_row(50000));
    for (int n = 2; n <= 50000; n += 2) {
        double v = 550.0 - n / std::log(double(n)) / 10.0;
        ASSERT_GT(std::abs(v - std::round(v)), 1e-5) << "n = " << n;
    }

    std::string captions;
    std::vector<Picture> got = capture_stages(CAPTURE(prime_count_plot), {}, &captions);
    ASSERT_EQ(1u, got.size());
    const Picture &plot = got[0];

    Picture expected;
    paint_straight(expected, 20, 550, 799, 550, black);
    paint_straight(expected, 20, 0, 20, 550, black);
    int pi = 0;
    std::vector<int> tenths; // pi(5000), pi(10000), ..., pi(50000)
    for (int n = 1; n <= 50000; n++) {
        pi += prime_by_trial_division(n);
        if (n == 30) {
            EXPECT_EQ(10, pi);
        }
        if (n % 5000 == 0)
            tenths.push_back(pi);
        if (n % 2 == 0) {
            paint_disc(expected, count_column(n), count_row(pi), 2, black);
            paint_disc(expected, count_column(n), estimate_row(n), 1, count_grey);
        }
    }
    EXPECT_EQ(5133, pi);
    EXPECT_NE(std::string::npos, captions.find("(pi(50000) = 5133)\n")) << captions;
    paint_straight(expected, 770, 40, 770, 550, black);
    for (int y = 50; y <= 450; y += 100)
        paint_straight(expected, 15, y, 25, y, black);
    EXPECT_PICTURE(expected, plot);

    // The events: pi(n) beside n / ln n at every tenth of the range, and the
    // result at 50000.
    std::vector<JsonEvent> events = capture_events(CAPTURE(prime_count_plot));
    std::vector<JsonEvent> listed = events_named(events, "item", "checkpoint");
    ASSERT_EQ(10u, listed.size());
    for (size_t k = 0; k < listed.size(); k++) {
        double n = 5000.0 * (k + 1);
        EXPECT_EQ(n, listed[k]["n"]);
        EXPECT_EQ(tenths[k], listed[k]["pi"]) << n;
        EXPECT_NEAR(n / std::log(n), listed[k]["estimate"], 1e-9) << n;
    }
    const JsonEvent &result = events.back();
    EXPECT_EQ(5133, result["pi"]);
    EXPECT_NEAR(4621.166, result["estimate"], 1e-3);
    EXPECT_NEAR(5133 / (50000 / std::log(50000.0)), result["ratio"], 1e-12);
}

// ---------------------------------------------------------------------------
// fermat_walk_plot

const uint32_t curve_grey = 0x646464;

static int lattice_pixel_x(int x)
{
    return 30 + 30 * x;
}
static int lattice_pixel_y(int y)
{
    return 550 - 30 * y;
}

struct Curve {
    long passes = 0, drawn = 0;
    std::set<std::pair<int, int>> centres;
    std::pair<int, int> first{-1, -1}, last{-1, -1}; // in drawing order
};

// The hyperbola's disc centres. A float x from 8 to 16 is a whole multiple of
// 2^-20, from 16 to 32 of 2^-19, from 32 to 64 of 2^-18; x is kept as m units
// of 2^-20 and each step of 0.0001 (104.8576 units) is rounded to the nearest
// multiple of the spacing where it lands. Everything else is exact in double
// (x*x has at most 48 significant bits) but for the square root, whose float
// is chosen by comparing squares of the midpoints between floats.
static Curve hyperbola_reference()
{
    Curve curve;
    const double unit = std::ldexp(1.0, -20);
    long m = 14262186; // 13.601480484008789 * 2^20, the float nearest 13.601480947265625
    EXPECT_LT(std::abs(m * unit - 13.601480947265625), unit / 2);
    while (m < 60L << 20) {
        curve.passes++;
        double x = m * unit, t = x * x - 185;
        float y = static_cast<float>(std::sqrt(t));
        float above = std::nextafter(y, 100.0f), below = std::nextafter(y, 0.0f);
        double high = (double(y) + above) / 2, low = (double(y) + below) / 2;
        if (high * high < t)
            y = above;
        else if (low * low > t)
            y = below;
        double w = 550 - 30.0 * y;
        if (w > 10) {
            curve.drawn++;
            curve.last = {static_cast<int>(30 * x + 30), static_cast<int>(w)};
            if (curve.drawn == 1)
                curve.first = curve.last;
            curve.centres.insert(curve.last);
        }
        // In units of 2^-20 / 10000: the exact sum, then the nearest multiple
        // of the spacing of the binade it falls in.
        long sum = m * 10000 + 1048576;
        long spacing = sum < (16L << 20) * 10000 ? 1 : sum < (32L << 20) * 10000 ? 2 : 4;
        m = (sum + spacing * 5000) / (spacing * 10000) * spacing;
    }
    return curve;
}

TEST(FermatWalkPlot, WalkOfFermatsMethodBesideTheHyperbola)
{
    // The reference curve: 467581 passes, 90104 of them drawing a disc, at
    // 803 centres; the first at x = 13.60148, y about 0.0165, the last on row 10.
    Curve curve = hyperbola_reference();
    ASSERT_EQ(467581, curve.passes);
    ASSERT_EQ(90104, curve.drawn);
    ASSERT_EQ(803u, curve.centres.size());
    ASSERT_EQ(std::pair(438, 549), curve.first);
    ASSERT_EQ(std::pair(706, 10), curve.last);

    std::string captions;
    std::vector<Picture> got = capture_stages(CAPTURE(fermat_walk_plot), {}, &captions);
    ASSERT_EQ(1u, got.size());
    const Picture &plot = got[0];

    // The route, from its turn points: (14, 0) up to (14, 4), right
    // to (15, 4), ..., up to the end (21, 16), where 21^2 - 16^2 = 185.
    const std::pair<int, int> turns[] = {{14, 0},  {14, 4},  {15, 4},  {15, 7},  {16, 7},  {16, 9},
                                         {17, 9},  {17, 11}, {18, 11}, {18, 12}, {19, 12}, {19, 14},
                                         {20, 14}, {20, 15}, {21, 15}, {21, 16}};
    EXPECT_NE(std::string::npos, captions.find("at (21, 16): 185 = 5 * 37\n")) << captions;
    Picture centre_line;
    std::set<std::pair<int, int>> route;
    for (size_t i = 1; i < std::size(turns); i++) {
        auto [xa, ya] = turns[i - 1];
        auto [xb, yb] = turns[i];
        // The walk only goes right or up, one unit a step.
        ASSERT_TRUE((xb > xa && ya == yb) || (xa == xb && yb > ya));
        for (int x = xa; x <= xb; x++)
            for (int y = ya; y <= yb; y++)
                route.insert({x, y});
        paint_straight(centre_line, lattice_pixel_x(xa), lattice_pixel_y(ya), lattice_pixel_x(xb),
                       lattice_pixel_y(yb), black);
    }
    EXPECT_EQ(24u, route.size()); // 23 steps: 7 right and 16 up

    // The events: every step on the route, with r = x*x - y*y - 185 after
    // it, and the factors at the end.
    std::vector<JsonEvent> events = capture_events(CAPTURE(fermat_walk_plot));
    std::vector<JsonEvent> walked = events_named(events, "step", "walk");
    ASSERT_EQ(23u, walked.size());
    for (const JsonEvent &step : walked) {
        long x = long(step["x"]), y = long(step["y"]);
        EXPECT_EQ(1u, route.count({int(x), int(y)})) << x << ", " << y;
        EXPECT_EQ(x * x - y * y - 185, step["r"]) << x << ", " << y;
    }
    const JsonEvent &result = events.back();
    EXPECT_EQ(21, result["x"]);
    EXPECT_EQ(16, result["y"]);
    EXPECT_EQ(5, result["factor"]);
    EXPECT_EQ(37, result["cofactor"]);

    // Every pixel of the route's centre line is black, and the band is 3
    // pixels across: black beside each mid-step pixel, not two pixels away.
    for (size_t i = 0; i < centre_line.rgb.size(); i++)
        if (centre_line.rgb[i] == black) {
            ASSERT_EQ(black, plot.rgb[i]) << "(" << i % 800 << ", " << i / 800 << ")";
        }
    for (size_t i = 1; i < std::size(turns); i++) {
        auto [xa, ya] = turns[i - 1];
        auto [xb, yb] = turns[i];
        int mx = (lattice_pixel_x(xa) + lattice_pixel_x(xb)) / 2,
            my = (lattice_pixel_y(ya) + lattice_pixel_y(yb)) / 2;
        int ax = xa == xb, ay = ya == yb; // the offset across the band
        EXPECT_EQ(black, plot.at(mx - ax, my - ay)) << "step " << i;
        EXPECT_EQ(black, plot.at(mx + ax, my + ay)) << "step " << i;
        EXPECT_NE(black, plot.at(mx - 2 * ax, my - 2 * ay)) << "step " << i;
        EXPECT_NE(black, plot.at(mx + 2 * ax, my + 2 * ay)) << "step " << i;
    }
    // Lattice points off the route stay unmarked.
    for (int x = 12; x <= 23; x++)
        for (int y = 1; y <= 17; y++)
            EXPECT_EQ(route.count({x, y}) == 1, plot.at(lattice_pixel_x(x), lattice_pixel_y(y)) == black)
                << "(" << x << ", " << y << ")";

    // The hyperbola: exactly the plus signs about the reference centres,
    // where nothing black was drawn over them.
    Picture curve_picture;
    for (auto [x, y] : curve.centres)
        paint_disc(curve_picture, x, y, 1, curve_grey);
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            uint32_t expected = curve_picture.at(x, y), actual = plot.at(x, y);
            if (actual != black) {
                ASSERT_EQ(expected, actual) << "(" << x << ", " << y << ")";
            }
        }
    EXPECT_EQ(curve_grey, plot.at(438, 549));
    EXPECT_EQ(curve_grey, plot.at(706, 10));
    EXPECT_EQ(curve_grey, plot.at(706, 9));
    EXPECT_EQ(white, plot.at(706, 8));

    // Every black pixel belongs to an axis, the start circle, the walk's band
    // or the end disc (distance formulas about the lattice pixels).
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            if (plot.at(x, y) != black)
                continue;
            bool axis = (y == 550 && x >= 30 && x <= 630) || (x == 30 && y >= 100 && y <= 550);
            bool start = std::hypot(x - 450, y - 550) <= 6.5;
            bool end = std::hypot(x - 660, y - 70) <= 6.5;
            bool band = false;
            for (int dx = -1; dx <= 1; dx++)
                for (int dy = -1; dy <= 1; dy++)
                    band = band ||
                           centre_line.at(std::clamp(x + dx, 0, 799), std::clamp(y + dy, 0, 599)) == black;
            ASSERT_TRUE(axis || start || end || band) << "(" << x << ", " << y << ")";
        }

    // The axes: x from 0 to 20 on row 550, y from 0 to 15 in column 30; the
    // end (660, 70) lies beyond both.
    EXPECT_EQ(black, plot.at(630, 550));
    EXPECT_EQ(white, plot.at(631, 550));
    EXPECT_EQ(black, plot.at(30, 100));
    EXPECT_EQ(white, plot.at(30, 99));
    EXPECT_EQ(white, plot.at(29, 550));
    // The start circle of radius 6 about (450, 550), hollow; the end disc of
    // radius 6 about (660, 70), filled.
    for (auto [x, y] : {std::pair{444, 550}, {456, 550}, {450, 556}, {447, 555}, {453, 555}})
        EXPECT_EQ(black, plot.at(x, y)) << "(" << x << ", " << y << ")";
    for (auto [x, y] : {std::pair{450, 557}, {450, 553}, {447, 553}, {453, 552}, {443, 551}, {457, 551}})
        EXPECT_EQ(white, plot.at(x, y)) << "(" << x << ", " << y << ")";
    for (int d = -6; d <= 6; d++) {
        EXPECT_EQ(black, plot.at(660 + d, 70)) << d;
        EXPECT_EQ(black, plot.at(660, 70 + d)) << d;
    }
    for (auto [x, y] : {std::pair{653, 70}, {667, 70}, {660, 63}})
        EXPECT_NE(black, plot.at(x, y)) << "(" << x << ", " << y << ")";
}

// ---------------------------------------------------------------------------
// The three views of one run of each picture program

// The whole numbers that a text states: its runs of digits.
static std::set<long> numbers_in(const std::string &text)
{
    std::set<long> numbers;
    for (size_t at = 0; (at = text.find_first_of("0123456789", at)) != std::string::npos;) {
        size_t end = text.find_first_not_of("0123456789", at);
        numbers.insert(std::stol(text.substr(at, end - at)));
        at = end;
    }
    return numbers;
}

// The width of a line of UTF-8 text, one column a character.
static int columns(const std::string &line)
{
    int width = 0;
    for (unsigned char c : line)
        width += (c & 0xC0) != 0x80;
    return width;
}

// The same run as the classic stage lines, as JSON events and explained in
// English and in French: the pictures are the same in every view; the JSON
// opens with the run, ends with the result and its fields, its stages make
// the classic lines and its values hold every number they print; the
// explanation stays within 80 columns and 20 kB and ends on the conclusion,
// which states the result's `conclusion` field.
TEST(PictureViews, OneRunInEachView)
{
    const struct {
        const char *program;
        std::vector<std::string> args;
        std::vector<const char *> result;
        const char *conclusion;
    } rows[] = {
        {"ulam_spiral_plot", {}, {"primes", "values_prime", "values_composite"}, "values_prime"},
        {"ulam_spiral_plot", {"0", "1"}, {"primes", "values_prime", "values_composite"}, "values_prime"},
        {"ulam_spiral_labels", {}, {"steps", "x", "y"}, "steps"},
        {"prime_count_plot", {}, {"pi", "estimate"}, "pi"},
        {"gaussian_walk_8", {"7", "10"}, {"start", "reached", "radius"}, "reached"},
        {"gaussian_walk_12", {}, {"start", "reached", "radius"}, "reached"},
        {"gaussian_walk_24", {"-39", "-94"}, {"start", "reached", "radius"}, "reached"},
        {"gaussian_graph_12", {}, {"plotted", "edges", "covered"}, "edges"},
        {"fermat_walk_plot", {}, {"x", "y", "factor", "cofactor"}, "cofactor"},
    };
    for (const auto &row : rows) {
        std::string capture = std::string(SUITE_CAPTURE_DIR "/") + row.program;
        SCOPED_TRACE(std::string(row.program) + (row.args.empty() ? "" : " " + row.args[0] + " " + row.args[1]));
        std::string classic;
        std::vector<Picture> pictures = capture_stages(capture, row.args, &classic), json_pictures;
        std::vector<JsonEvent> events = capture_events(capture, row.args, &json_pictures);
        ASSERT_FALSE(events.empty());
        ASSERT_EQ(pictures.size(), json_pictures.size());
        for (size_t k = 0; k < pictures.size(); k++)
            EXPECT_PICTURE(pictures[k], json_pictures[k]);

        EXPECT_EQ("run", events.front().text("event"));
        const JsonEvent &result = events.back();
        EXPECT_EQ("result", result.text("event"));
        for (const char *field : row.result)
            EXPECT_TRUE(result.has(field)) << field;
        std::string lines;
        std::set<long> values;
        for (const JsonEvent &e : events) {
            if (e.text("event") == "stage")
                lines += "stage " + std::to_string(long(e["stage"])) + " of " + std::to_string(long(e["count"])) +
                         ": " + e.text("caption") + "\n";
            for (const auto &[name, field] : e.fields) {
                std::vector<double> numbers = field.values;
                numbers.push_back(field.value);
                for (double v : numbers)
                    if (v == std::floor(v))
                        values.insert(std::labs(static_cast<long>(v)));
            }
        }
        EXPECT_EQ(classic, lines);
        for (long v : numbers_in(classic))
            EXPECT_EQ(1u, values.count(v)) << v << " is in no event";

        for (const char *language : {"en", "fr"}) {
            SCOPED_TRACE(language);
            setenv("LANGUAGE", language, 1);
            std::string text;
            std::vector<Picture> explained = capture_stages(capture, [&] {
                std::vector<std::string> args = row.args;
                args.push_back("--explain");
                return args;
            }(), &text);
            unsetenv("LANGUAGE");
            EXPECT_EQ(pictures.size(), explained.size());
            EXPECT_LE(text.size(), 20000u);
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);)
                EXPECT_LE(columns(line), 80) << line;
            std::string last = text.substr(text.rfind("\n\n") + 2);
            EXPECT_NE(std::string::npos, last.find(std::to_string(long(result[row.conclusion])))) << last;
        }
    }
}
