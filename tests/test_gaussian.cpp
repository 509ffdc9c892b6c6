// The Gaussian prime walks and the neighbour graph, read back from their
// captured stages. Expectations come from references written here: Gaussian
// primes by trial division up to the square root, and a breadth-first search
// over the lattice for the primes that the steps connect to 1 + i.
#include "harness.hpp"
#include "picture_shapes.hpp"
#include "plot_events.hpp"
#include <cmath>
#include <cstdlib>
#include <unistd.h>
#include <map>
#include <queue>
#include <set>
#include <utility>
#include <vector>

namespace
{

const uint32_t white = 0xFFFFFF, black = 0x000000, blue = 0x0000C8, grey_120 = 0x787878;

using Point = std::pair<int, int>; // lattice point (a, b) = a + bi


// a + bi is a Gaussian prime when its norm is a rational prime, or when it is
// a unit times a rational prime q = 3 (mod 4) (then it lies on an axis).
bool gaussian_prime(int a, int b)
{
    if (a != 0 && b != 0)
        return prime_by_trial_division(static_cast<long>(a) * a + static_cast<long>(b) * b);
    long q = std::abs(a) + std::abs(b);
    return q % 4 == 3 && prime_by_trial_division(q);
}

// The step sets, by their geometry: 8, the neighbours at Chebyshev distance
// 1; 12, Euclidean length at most 2; 24, Chebyshev distance at most 2.
std::vector<Point> step_set(int kind)
{
    std::vector<Point> steps;
    for (int dx = -2; dx <= 2; dx++)
        for (int dy = -2; dy <= 2; dy++) {
            if (dx == 0 && dy == 0)
                continue;
            int chebyshev = std::max(std::abs(dx), std::abs(dy));
            if ((kind == 8 && chebyshev == 1) || (kind == 12 && dx * dx + dy * dy <= 4) || kind == 24)
                steps.push_back({dx, dy});
        }
    return steps;
}

bool in_window(int x, int y)
{
    return x >= 0 && x < 800 && y >= 0 && y < 600;
}

double distance_from_origin(int x, int y)
{
    return std::hypot(x - 400.0, y - 300.0);
}

// ---------------------------------------------------------------------------
// The three walks.

struct WalkCase {
    const char *name;
    std::string capture;
    int scale, bound, disc_radius;
    uint32_t grey;
    int steps;        // 8, 12 or 24
    int circle_units; // radius of the circle, in lattice units
    // Figures of the walk from 1 + i: points reached, the largest norm among
    // them, their largest coordinate and the deepest nesting.
    size_t reached;
    long farthest_norm;
    int largest_coordinate;
    size_t deepest;
    // The steps in the order the walk tries them, (da, db).
    std::vector<Point> order;
};

void PrintTo(const WalkCase &w, std::ostream *os)
{
    *os << w.name;
}

const WalkCase walks[] = {
    {"gaussian_walk_8",
     CAPTURE(gaussian_walk_8),
     12,
     54,
     2,
     0x646464,
     8,
     12,
     100,
     137,
     11,
     50,
     {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}}},
    {"gaussian_walk_12",
     CAPTURE(gaussian_walk_12),
     6,
     49,
     1,
     0x646464,
     12,
     46,
     720,
     2053,
     42,
     325,
     {{2, 0},
      {1, 1},
      {0, 2},
      {-1, 1},
      {-2, 0},
      {-1, -1},
      {0, -2},
      {1, -1},
      {1, 0},
      {0, 1},
      {-1, 0},
      {0, -1}}},
    {"gaussian_walk_24",
     CAPTURE(gaussian_walk_24),
     3,
     119,
     1,
     0x787878,
     24,
     94,
     2996,
     8737,
     84,
     1211,
     {{1, 0},  {0, 1},   {-1, 0},  {0, -1},  {1, 1},  {-1, 1}, {-1, -1}, {1, -1},
      {2, 0},  {2, 1},   {2, 2},   {1, 2},   {0, 2},  {-1, 2}, {-2, 2},  {-2, 1},
      {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2}, {0, -2}, {1, -2}, {2, -2},  {2, -1}}},
};

// Each program is captured once per run of this test executable, with its
// standard output (the captions of the stages).
struct Captured {
    std::vector<Picture> stages;
    std::string captions;
};

const Captured &captured(const std::string &capture)
{
    static std::map<std::string, Captured> runs;
    auto found = runs.find(capture);
    if (found == runs.end()) {
        Captured run;
        run.stages = capture_stages(capture, {}, &run.captions);
        found = runs.emplace(capture, run).first;
    }
    return found->second;
}

const std::vector<Picture> &stages_of(const std::string &capture)
{
    return captured(capture).stages;
}

int pixel_x(const WalkCase &w, int a)
{
    return 400 + a * w.scale;
}
int pixel_y(const WalkCase &w, int b)
{
    return 300 - b * w.scale;
}

// Every Gaussian prime of the square whose centre pixel lies in the window.
std::vector<Point> plotted_primes(const WalkCase &w)
{
    std::vector<Point> primes;
    for (int a = -w.bound; a <= w.bound; a++)
        for (int b = -w.bound; b <= w.bound; b++)
            if (gaussian_prime(a, b) && in_window(pixel_x(w, a), pixel_y(w, b)))
                primes.push_back({a, b});
    return primes;
}

// Breadth-first search from the start through the plotted primes.
std::set<Point> reachable(const WalkCase &w, Point start)
{
    std::vector<Point> primes = plotted_primes(w);
    std::set<Point> plotted(primes.begin(), primes.end());
    std::set<Point> seen{start};
    std::queue<Point> queue;
    queue.push(start);
    while (!queue.empty()) {
        Point p = queue.front();
        queue.pop();
        for (Point s : step_set(w.steps)) {
            Point q{p.first + s.first, p.second + s.second};
            if (plotted.count(q) && seen.insert(q).second)
                queue.push(q);
        }
    }
    return seen;
}

// The tree of the walk, with an explicit stack: from the point on top the
// steps are tried in order, and a step is taken when it lands on a plotted
// prime not reached yet. Edges run from parent to child; *deepest is the
// largest number of points on the path at one time.
std::vector<std::pair<Point, Point>> walk_tree(const WalkCase &w, Point start, size_t *deepest)
{
    std::vector<Point> primes = plotted_primes(w);
    std::set<Point> waiting(primes.begin(), primes.end());
    std::vector<std::pair<Point, Point>> edges;
    std::vector<std::pair<Point, size_t>> path{{start, 0}}; // point, next step to try
    waiting.erase(start);
    *deepest = 1;
    while (!path.empty()) {
        Point p = path.back().first;
        size_t k = path.back().second++;
        if (k == w.order.size()) {
            path.pop_back();
            continue;
        }
        Point q{p.first + w.order[k].first, p.second + w.order[k].second};
        if (waiting.erase(q)) {
            edges.push_back({p, q});
            path.push_back({q, 0});
            *deepest = std::max(*deepest, path.size());
        }
    }
    return edges;
}

class GaussianWalk : public ::testing::TestWithParam<WalkCase>
{
  protected:
    const WalkCase &w = GetParam();
    const std::vector<Picture> &stages = stages_of(w.capture);
    void SetUp() override { ASSERT_EQ(2u, stages.size()) << w.name << " should show two stages"; }
};

// Stage 1: a grey disc on every Gaussian prime of the square whose centre
// lies in the window, clipped at the edges, and nothing else.
TEST_P(GaussianWalk, Stage1ShowsExactlyTheGaussianPrimes)
{
    Picture expected;
    for (Point p : plotted_primes(w))
        for (Point d : disc_offsets(w.disc_radius)) {
            int x = pixel_x(w, p.first) + d.first, y = pixel_y(w, p.second) + d.second;
            if (in_window(x, y))
                expected.set(x, y, w.grey);
        }
    EXPECT_PICTURE(expected, stages[0]);
}

// The smallest whole radius whose circle holds a point of the given norm
// strictly inside.
int enclosing_radius(long norm)
{
    return static_cast<int>(std::floor(std::sqrt(static_cast<double>(norm)))) + 1;
}

long largest_norm(const std::set<Point> &points)
{
    long farthest = 0;
    for (Point p : points)
        farthest = std::max(farthest, static_cast<long>(p.first) * p.first + static_cast<long>(p.second) * p.second);
    return farthest;
}

// From 1 + i the walk reaches 100, 720 and 2996 points, the farthest of
// norm 137, 2053 and 8737, hence circles of radius 12, 46 and 94; the
// caption of stage 2 gives the count and the radius.
TEST_P(GaussianWalk, Stage2CaptionCountsThePointsAndGivesTheRadius)
{
    std::set<Point> reached = reachable(w, {1, 1});
    ASSERT_EQ(w.reached, reached.size());
    int largest = 0;
    for (Point p : reached)
        largest = std::max({largest, std::abs(p.first), std::abs(p.second)});
    EXPECT_EQ(w.largest_coordinate, largest);
    ASSERT_EQ(w.farthest_norm, largest_norm(reached));
    ASSERT_EQ(w.circle_units, enclosing_radius(w.farthest_norm));
    std::string caption = "stage 2 of 2: the " + std::to_string(w.reached) + " primes that the " +
                          std::to_string(w.steps) + " steps reach from 1 + i, inside the circle of radius " +
                          std::to_string(w.circle_units) + "\n";
    EXPECT_NE(std::string::npos, captured(w.capture).captions.find(caption)) << captured(w.capture).captions;
}

// The steps from the points reached that land on a Gaussian prime the
// picture does not show, which the walk cannot follow.
long steps_beyond(const WalkCase &w, const std::set<Point> &reached)
{
    std::vector<Point> primes = plotted_primes(w);
    std::set<Point> plotted(primes.begin(), primes.end());
    long beyond = 0;
    for (Point p : reached)
        for (Point s : step_set(w.steps)) {
            Point q{p.first + s.first, p.second + s.second};
            beyond += !plotted.count(q) && gaussian_prime(q.first, q.second);
        }
    return beyond;
}

// The events of a walk from `start`: the primes plotted, the points
// reached, the largest norm and its circle, and the steps beyond the
// picture, all against the references.
void expect_walk_events(const WalkCase &w, Point start)
{
    std::vector<JsonEvent> events =
        capture_events(w.capture, {std::to_string(start.first), std::to_string(start.second)});
    ASSERT_FALSE(events.empty());
    std::set<Point> reached = reachable(w, start);
    const JsonEvent &result = events.back();
    EXPECT_EQ(plotted_primes(w).size(), result["plotted"]);
    EXPECT_EQ(reached.size(), result["reached"]);
    EXPECT_EQ(largest_norm(reached), result["farthest_norm"]);
    EXPECT_EQ(enclosing_radius(largest_norm(reached)), result["radius"]);
    EXPECT_EQ(steps_beyond(w, reached), result["beyond"]);
    ASSERT_EQ(2u, result.fields.at("start").values.size());
    EXPECT_EQ(start.first, result.fields.at("start").values[0]);
    EXPECT_EQ(start.second, result.fields.at("start").values[1]);
}

// From 1 + i no walk reaches the edge of its picture: nothing lies beyond.
TEST_P(GaussianWalk, EventsCountThePointsReached)
{
    EXPECT_EQ(0, steps_beyond(w, reachable(w, {1, 1})));
    expect_walk_events(w, {1, 1});
}

// The circle about the origin has the program's radius: every column and
// every row that it spans has a black pixel within 0.75 pixel of that radius,
// on both sides of the centre, and nothing black lies beyond it.
TEST_P(GaussianWalk, Stage2CircleHasTheRadius)
{
    const Picture &shown = stages[1];
    const int r = w.circle_units * w.scale;
    auto on_circle = [&](int x, int y) {
        return shown.at(x, y) == black && std::fabs(distance_from_origin(x, y) - r) <= 0.75;
    };
    for (int d = -r; d <= r; d++) {
        bool top = false, bottom = false, left = false, right = false;
        for (int e = 0; e <= r; e++) {
            top = top || on_circle(400 + d, 300 - e);
            bottom = bottom || on_circle(400 + d, 300 + e);
            left = left || on_circle(400 - e, 300 + d);
            right = right || on_circle(400 + e, 300 + d);
        }
        ASSERT_TRUE(top && bottom && left && right) << "circle missing at offset " << d;
    }
    long beyond = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            beyond += shown.at(x, y) == black && distance_from_origin(x, y) > r + 1;
    EXPECT_EQ(0, beyond);
}

// Stage 2 is stage 1 with, in black, the disc of every point reached from
// the start, the segments of the depth-first tree in step order, and the
// circle of radius circle_units. A segment along an axis or a diagonal is a
// straight run of pixels; the others (the steps (2, 1) and their images) may
// only lie within a pixel of their line, and must cross it at their middle
// column or row. Nothing else changes.
void expect_walk_drawn(const WalkCase &w, Point start, int circle_units, const Picture &before,
                       const Picture &shown)
{
    std::set<Point> order(w.order.begin(), w.order.end());
    std::vector<Point> geometric = step_set(w.steps);
    ASSERT_EQ(w.order.size(), order.size()) << "a step twice in the order";
    ASSERT_EQ(std::set<Point>(geometric.begin(), geometric.end()), order) << "the order is not the step set";
    size_t deepest = 0;
    std::vector<std::pair<Point, Point>> tree = walk_tree(w, start, &deepest);
    std::set<Point> reached = reachable(w, start);
    ASSERT_EQ(reached.size() - 1, tree.size());

    enum : uint8_t { unchanged, must_be_black, may_be_black };
    std::vector<uint8_t> role(800 * 600, unchanged);
    auto mark = [&](int x, int y, uint8_t r) {
        if (in_window(x, y) && role[x + y * 800] != must_be_black)
            role[x + y * 800] = r;
    };
    const int r = circle_units * w.scale;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            if (std::fabs(distance_from_origin(x, y) - r) <= 0.75)
                mark(x, y, may_be_black);
    for (Point p : reached)
        for (Point d : disc_offsets(2))
            mark(pixel_x(w, p.first) + d.first, pixel_y(w, p.second) + d.second, must_be_black);
    int bent_missing = 0;
    for (const auto &edge : tree) {
        int x0 = pixel_x(w, edge.first.first), y0 = pixel_y(w, edge.first.second);
        int x1 = pixel_x(w, edge.second.first), y1 = pixel_y(w, edge.second.second);
        int dx = x1 - x0, dy = y1 - y0, n = std::max(std::abs(dx), std::abs(dy));
        if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) {
            for (int k = 0; k <= n; k++)
                mark(x0 + k * dx / n, y0 + k * dy / n, must_be_black);
            continue;
        }
        double length = std::hypot(dx, dy);
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); x++)
            for (int y = std::min(y0, y1); y <= std::max(y0, y1); y++)
                if (std::fabs((x - x0) * dy - (y - y0) * dx) / length < 1.0)
                    mark(x, y, may_be_black);
        // The middle of the major axis: one of the two pixels nearest the line.
        bool crossed = false;
        for (int minor = 1; minor <= 2; minor++) {
            int x = std::abs(dx) > std::abs(dy) ? x0 + dx / 2 : x0 + minor * dx / 3;
            int y = std::abs(dx) > std::abs(dy) ? y0 + minor * dy / 3 : y0 + dy / 2;
            crossed = crossed || shown.at(x, y) == black;
        }
        bent_missing += !crossed;
    }
    EXPECT_EQ(0, bent_missing) << "segments off the axes and diagonals not drawn";

    long wrong = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            uint32_t got = shown.at(x, y);
            uint8_t want = role[x + y * 800];
            bool fine = want == must_be_black  ? got == black
                        : want == may_be_black ? got == black || got == before.at(x, y)
                                               : got == before.at(x, y);
            if (!fine && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is #" << std::hex << got;
        }
    EXPECT_EQ(0, wrong);

    // So the black centres of primes off the circle are the points reached.
    auto off_circle = [&](Point p) {
        return std::fabs(distance_from_origin(pixel_x(w, p.first), pixel_y(w, p.second)) - r) > 1;
    };
    size_t black_centres = 0, reached_off_circle = 0;
    for (Point p : plotted_primes(w))
        black_centres += off_circle(p) && shown.at(pixel_x(w, p.first), pixel_y(w, p.second)) == black;
    for (Point p : reached)
        reached_off_circle += off_circle(p);
    EXPECT_EQ(reached_off_circle, black_centres);
}

TEST_P(GaussianWalk, Stage2DrawsTheTreeOfTheWalk)
{
    size_t deepest = 0;
    walk_tree(w, {1, 1}, &deepest);
    EXPECT_EQ(w.deepest, deepest) << "nesting of the walk";
    expect_walk_drawn(w, {1, 1}, w.circle_units, stages[0], stages[1]);
}

INSTANTIATE_TEST_SUITE_P(Walks, GaussianWalk, ::testing::ValuesIn(walks),
                         [](const ::testing::TestParamInfo<WalkCase> &info) {
                             return std::string(info.param.name);
                         });

// Where the square is larger than the window, a point is drawn only when its
// centre is inside: the top row holds centres (y = 0), while the row just
// below the bottom edge (y = 600) holds none, although those discs would
// reach into the window.
TEST(GaussianWalkEdges, DrawnOnlyWhenTheCentreIsInside)
{
    const struct {
        const WalkCase &w;
        int top_b; // the b of the top row of the window
    } rows[] = {{walks[0], 25}, {walks[2], 100}};
    for (const auto &row : rows) {
        const WalkCase &w = row.w;
        int a = 1;
        while (!gaussian_prime(a, row.top_b))
            a++;
        const Picture &first = stages_of(w.capture)[0];
        int x = pixel_x(w, a);
        EXPECT_EQ(0, pixel_y(w, row.top_b));
        EXPECT_EQ(w.grey, first.at(x, 0)) << w.name << ": (" << a << ", " << row.top_b << ") not drawn";
        EXPECT_EQ(600, pixel_y(w, -row.top_b));
        for (Point d : disc_offsets(w.disc_radius)) {
            if (!in_window(x + d.first, 600 + d.second))
                continue;
            EXPECT_EQ(white, first.at(x + d.first, 600 + d.second))
                << w.name << ": (" << a << ", " << -row.top_b << ") lies below the window";
        }
    }
}

// Walks from other Gaussian primes, each in a component of its own that
// reaches the window's edge, where some steps lead to centres outside the
// window: the plot is the same, the tree is the one that the breadth-first
// search finds from that start, and the circle has the smallest whole radius
// that holds the points reached (for -39 - 94i it runs beyond the window).
TEST(GaussianWalkFromAnotherStart, DrawsTheTreeFromThatStart)
{
    const struct {
        const WalkCase &w;
        Point start;
        const char *written;
    } rows[] = {
        {walks[0], {31, 4}, "31 + 4i"},
        {walks[1], {19, -46}, "19 - 46i"},
        {walks[2], {-39, -94}, "-39 - 94i"},
    };
    for (const auto &row : rows) {
        const WalkCase &w = row.w;
        SCOPED_TRACE(std::string(w.name) + " from " + row.written);
        std::string captions;
        std::vector<Picture> got = capture_stages(
            w.capture, {std::to_string(row.start.first), std::to_string(row.start.second)}, &captions);
        ASSERT_EQ(2u, got.size());
        EXPECT_PICTURE(stages_of(w.capture)[0], got[0]);

        std::set<Point> reached = reachable(w, row.start);
        EXPECT_GT(reached.size(), 1u);
        EXPECT_EQ(0u, reached.count({1, 1}));
        int radius = enclosing_radius(largest_norm(reached));
        expect_walk_drawn(w, row.start, radius, got[0], got[1]);
        // The circle's ends on the axes, where they lie in the window.
        int r = radius * w.scale;
        for (Point end : {Point{400 + r, 300}, Point{400 - r, 300}, Point{400, 300 + r}, Point{400, 300 - r}})
            if (in_window(end.first, end.second)) {
                EXPECT_EQ(black, got[1].at(end.first, end.second)) << end.first << ", " << end.second;
            }
        std::string caption = "stage 2 of 2: the " + std::to_string(reached.size()) + " primes that the " +
                              std::to_string(w.steps) + " steps reach from " + row.written +
                              ", inside the circle of radius " + std::to_string(radius) + "\n";
        EXPECT_NE(std::string::npos, captions.find(caption)) << captions;
        expect_walk_events(w, row.start);
    }
}

// A start that is no Gaussian prime, or whose point the plot does not draw,
// is refused before anything is drawn: status 2, nothing on standard output,
// and a line that says what is accepted.
TEST(GaussianWalkFromAnotherStart, RefusesAStartThatIsNoPlottedGaussianPrime)
{
    const struct {
        std::string capture;
        std::vector<std::string> args;
        const char *says;
    } rows[] = {
        {CAPTURE(gaussian_walk_8), {"4", "2"}, "a Gaussian prime"},           // norm 20
        {CAPTURE(gaussian_walk_12), {"2", "0"}, "2 is not"},                  // 2 = -i(1 + i)^2
        {CAPTURE(gaussian_walk_12), {"0", "-1"}, "-i is not"},                // a unit
        {CAPTURE(gaussian_walk_8), {"34", "1"}, "from -33 to 33"},            // x = 808
        {CAPTURE(gaussian_walk_8), {"1", "-25"}, "from -24 to 25"},           // y = 600
        {CAPTURE(gaussian_walk_24), {"120", "1"}, "from -119 to 119"},        // outside the square
    };
    for (const auto &row : rows) {
        RunOptions options;
        options.args = row.args;
        options.cwd = make_temp_dir();
        options.timeout_seconds = 30;
        ProgramRun run = run_program(row.capture, options);
        SCOPED_TRACE(row.capture + " " + row.args[0] + " " + row.args[1]);
        EXPECT_EQ(2, run.status);
        EXPECT_EQ("", run.out);
        EXPECT_NE(std::string::npos, run.err.find(row.says)) << run.err;
        EXPECT_EQ(0, rmdir(options.cwd.c_str())) << "a picture was saved";
    }
}

// ---------------------------------------------------------------------------
// The neighbour graph, at 5 pixels a unit over |a|, |b| <= 57.

const int graph_bound = 57;
const int graph_radius = 230; // the grey circle: 46 units

const std::vector<Picture> &graph_stages()
{
    return stages_of(CAPTURE(gaussian_graph_12));
}

Point graph_pixel(int a, int b)
{
    return {400 + 5 * a, 300 - 5 * b};
}

std::vector<Point> graph_primes()
{
    std::vector<Point> primes;
    for (int a = -graph_bound; a <= graph_bound; a++)
        for (int b = -graph_bound; b <= graph_bound; b++)
            if (gaussian_prime(a, b))
                primes.push_back({a, b});
    return primes;
}

// The eight primes of norm 2113 = 32^2 + 33^2 that the circle passes over.
std::set<Point> under_circle()
{
    std::set<Point> points;
    for (int sa : {-1, 1})
        for (int sb : {-1, 1}) {
            points.insert({32 * sa, 33 * sb});
            points.insert({33 * sa, 32 * sb});
        }
    return points;
}

// Pairs {p, q} of primes one step of length at most 2 apart, each once.
std::vector<std::pair<Point, Point>> neighbour_pairs()
{
    std::vector<Point> primes = graph_primes();
    std::set<Point> is_prime_point(primes.begin(), primes.end());
    std::vector<std::pair<Point, Point>> pairs;
    for (Point p : primes)
        for (Point s : step_set(12)) {
            Point q{p.first + s.first, p.second + s.second};
            if (p < q && is_prime_point.count(q))
                pairs.push_back({p, q});
        }
    return pairs;
}

// The pixels strictly between the ends of the segment of a pair: every step
// is horizontal, vertical or diagonal, so the segment is a straight run.
std::vector<Point> inner_pixels(Point p, Point q)
{
    Point from = graph_pixel(p.first, p.second), to = graph_pixel(q.first, q.second);
    int dx = to.first - from.first, dy = to.second - from.second;
    int n = std::max(std::abs(dx), std::abs(dy));
    int ux = (dx > 0) - (dx < 0), uy = (dy > 0) - (dy < 0);
    std::vector<Point> pixels;
    for (int k = 1; k < n; k++)
        pixels.push_back({from.first + k * ux, from.second + k * uy});
    return pixels;
}

// The reference first: on the axes 3 and 7, primes of the form 4k + 3, stay
// prime in Z[i]; 2 does not (2 = -i(1 + i)^2), and the units are no primes.
TEST(GaussianGraph, Stage1ShowsExactlyTheGaussianPrimes)
{
    const struct {
        int a, b;
        bool prime;
    } rows[] = {
        {3, 0, true},  {-3, 0, true},  {0, 7, true},   {0, -7, true},  {7, 0, true},
        {0, 3, true},  {2, 0, false},  {-2, 0, false}, {0, 2, false},  {0, -2, false},
        {1, 0, false}, {-1, 0, false}, {0, 1, false},  {0, -1, false}, {1, 1, true},
    };
    for (const auto &row : rows)
        ASSERT_EQ(row.prime, gaussian_prime(row.a, row.b)) << row.a << " + " << row.b << "i";
    ASSERT_EQ(2u, graph_stages().size());
    Picture expected;
    for (Point p : graph_primes()) {
        Point px = graph_pixel(p.first, p.second);
        expected.set(px.first, px.second, blue);
    }
    EXPECT_PICTURE(expected, graph_stages()[0]);
}

// The whole second picture: every prime still blue (a segment's end pixels
// are restored) but the eight under the circle, which are grey; black
// exactly on the segments of the joined pairs; grey otherwise only on the
// circle of radius 230, which every column and row it spans meets; white
// elsewhere.
TEST(GaussianGraph, Stage2IsTheGraphAndTheCircle)
{
    ASSERT_EQ(2u, graph_stages().size());
    const Picture &shown = graph_stages()[1];
    std::set<Point> covered = under_circle();
    Picture expected; // white, blue points, black segments; grey left open
    for (Point p : graph_primes()) {
        Point px = graph_pixel(p.first, p.second);
        expected.set(px.first, px.second, covered.count(p) ? grey_120 : blue);
    }
    for (const auto &pair : neighbour_pairs())
        if (!covered.count(pair.first) && !covered.count(pair.second))
            for (Point m : inner_pixels(pair.first, pair.second))
                expected.set(m.first, m.second, black);

    long wrong = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            uint32_t want = expected.at(x, y), got = shown.at(x, y);
            bool circle_pixel = std::fabs(distance_from_origin(x, y) - graph_radius) <= 0.75;
            bool fine = got == want || (want == white && got == grey_120 && circle_pixel);
            if (!fine && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): expected #" << std::hex << want
                              << ", got #" << got;
        }
    EXPECT_EQ(0, wrong);

    for (int d = -graph_radius; d <= graph_radius; d++) {
        bool top = false, bottom = false, left = false, right = false;
        auto drawn = [&](int x, int y) {
            return shown.at(x, y) != white && shown.at(x, y) != blue &&
                   std::fabs(distance_from_origin(x, y) - graph_radius) <= 0.75;
        };
        for (int e = 0; e <= graph_radius; e++) {
            top = top || drawn(400 + d, 300 - e);
            bottom = bottom || drawn(400 + d, 300 + e);
            left = left || drawn(400 - e, 300 + d);
            right = right || drawn(400 + e, 300 + d);
        }
        ASSERT_TRUE(top && bottom && left && right) << "circle missing at offset " << d;
    }

    // The events: the primes plotted, the pairs joined among those the
    // circle leaves blue, and the primes it covers.
    std::vector<JsonEvent> events = capture_events(CAPTURE(gaussian_graph_12));
    ASSERT_FALSE(events.empty());
    long joined = 0;
    for (const auto &pair : neighbour_pairs())
        joined += !covered.count(pair.first) && !covered.count(pair.second);
    EXPECT_EQ(graph_primes().size(), events.back()["plotted"]);
    EXPECT_EQ(joined, events.back()["edges"]);
    EXPECT_EQ(covered.size(), events.back()["covered"]);
}

} // namespace
