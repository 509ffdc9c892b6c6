// The Gaussian prime walks and the neighbour graph, read back from their
// captured stages. Expectations come from references written here: Gaussian
// primes by trial division up to the square root, and a breadth-first search
// over the lattice for the primes that the steps connect to 1 + i.
#include "harness.hpp"
#include <cmath>
#include <cstdlib>
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

// The pixels of a disc of radius 1 (a plus sign) and of radius 2 (the 5x5
// square without its corners), relative to the centre.
std::vector<Point> disc_offsets(int radius)
{
    std::vector<Point> offsets;
    for (int dx = -radius; dx <= radius; dx++)
        for (int dy = -radius; dy <= radius; dy++)
            if (radius == 1 ? std::abs(dx) + std::abs(dy) <= 1 : std::abs(dx) * std::abs(dy) != 4)
                offsets.push_back({dx, dy});
    return offsets;
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
    // Figures of the walk as documented: points reached, the largest norm
    // among them, their largest coordinate and the deepest nesting.
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

// Each program is captured once per run of this test executable.
const std::vector<Picture> &stages_of(const std::string &capture)
{
    static std::map<std::string, std::vector<Picture>> captured;
    auto found = captured.find(capture);
    if (found == captured.end())
        found = captured.emplace(capture, capture_stages(capture)).first;
    return found->second;
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

// Breadth-first search from 1 + i through the plotted primes.
std::set<Point> reachable(const WalkCase &w)
{
    std::vector<Point> primes = plotted_primes(w);
    std::set<Point> plotted(primes.begin(), primes.end());
    std::set<Point> seen{{1, 1}};
    std::queue<Point> queue;
    queue.push({1, 1});
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
std::vector<std::pair<Point, Point>> walk_tree(const WalkCase &w, size_t *deepest)
{
    std::vector<Point> primes = plotted_primes(w);
    std::set<Point> waiting(primes.begin(), primes.end());
    std::vector<std::pair<Point, Point>> edges;
    std::vector<std::pair<Point, size_t>> path{{{1, 1}, 0}}; // point, next step to try
    waiting.erase({1, 1});
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

// The axes: 3 and 7 are primes of the form 4k + 3 and stay prime in Z[i]; 2
// is not (2 = -i(1 + i)^2), and the units are not primes at all.
TEST_P(GaussianWalk, Stage1AxisPoints)
{
    const struct {
        int a, b;
        bool plotted;
    } rows[] = {
        {3, 0, true},  {-3, 0, true},  {0, 7, true},   {0, -7, true},  {7, 0, true},
        {0, 3, true},  {2, 0, false},  {-2, 0, false}, {0, 2, false},  {0, -2, false},
        {1, 0, false}, {-1, 0, false}, {0, 1, false},  {0, -1, false}, {1, 1, true},
    };
    for (const auto &row : rows) {
        uint32_t centre = stages[0].at(pixel_x(w, row.a), pixel_y(w, row.b));
        EXPECT_EQ(row.plotted ? w.grey : white, centre) << "point (" << row.a << ", " << row.b << ")";
    }
}

// The reference reaches the documented number of points, the farthest of
// them strictly inside the circle, which is the smallest whole radius that
// holds them all. (Which of them the picture marks is checked below.)
TEST_P(GaussianWalk, ReachedPointsHaveTheDocumentedFigures)
{
    std::set<Point> reached = reachable(w);
    EXPECT_EQ(w.reached, reached.size());
    long farthest = 0;
    int largest = 0;
    for (Point p : reached) {
        farthest =
            std::max(farthest, static_cast<long>(p.first) * p.first + static_cast<long>(p.second) * p.second);
        largest = std::max({largest, std::abs(p.first), std::abs(p.second)});
    }
    EXPECT_EQ(w.farthest_norm, farthest);
    EXPECT_EQ(w.largest_coordinate, largest);
    EXPECT_LT(farthest, static_cast<long>(w.circle_units) * w.circle_units) << "outside the circle";
    EXPECT_GE(farthest, static_cast<long>(w.circle_units - 1) * (w.circle_units - 1))
        << "circle not the smallest";
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

// The documented step order is the step set of the program's name.
TEST_P(GaussianWalk, StepOrderHoldsEveryStepOnce)
{
    std::set<Point> ordered(w.order.begin(), w.order.end());
    std::vector<Point> geometric = step_set(w.steps);
    EXPECT_EQ(w.order.size(), ordered.size());
    EXPECT_EQ(std::set<Point>(geometric.begin(), geometric.end()), ordered);
}

// Stage 2 is stage 1 with, in black, the disc of every point reached, the
// segments of the depth-first tree in step order, and the circle. A segment
// along an axis or a diagonal is a straight run of pixels; the others (the
// steps (2, 1) and their images) may only lie within a pixel of their line,
// and must cross it at their middle column or row. Nothing else changes.
TEST_P(GaussianWalk, Stage2DrawsTheTreeOfTheWalk)
{
    size_t deepest = 0;
    std::vector<std::pair<Point, Point>> tree = walk_tree(w, &deepest);
    std::set<Point> reached = reachable(w);
    ASSERT_EQ(reached.size() - 1, tree.size());
    EXPECT_EQ(w.deepest, deepest) << "nesting of the walk";

    enum : uint8_t { unchanged, must_be_black, may_be_black };
    std::vector<uint8_t> role(800 * 600, unchanged);
    auto mark = [&](int x, int y, uint8_t r) {
        if (role[x + y * 800] != must_be_black)
            role[x + y * 800] = r;
    };
    const Picture &before = stages[0], &shown = stages[1];
    const int r = w.circle_units * w.scale;
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

    // So the black centres of primes inside the circle are the points reached.
    size_t black_centres = 0;
    for (Point p : plotted_primes(w)) {
        int x = pixel_x(w, p.first), y = pixel_y(w, p.second);
        black_centres += shown.at(x, y) == black && distance_from_origin(x, y) < r - 1;
    }
    EXPECT_EQ(w.reached, black_centres);
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

// The one or two pixels at the middle of a segment.
std::vector<Point> middle_pixels(Point p, Point q)
{
    std::vector<Point> inner = inner_pixels(p, q);
    if (inner.size() % 2 == 1)
        return {inner[inner.size() / 2]};
    return {inner[inner.size() / 2 - 1], inner[inner.size() / 2]};
}

TEST(GaussianGraph, Stage1ShowsExactlyTheGaussianPrimes)
{
    ASSERT_EQ(2u, graph_stages().size());
    Picture expected;
    for (Point p : graph_primes()) {
        Point px = graph_pixel(p.first, p.second);
        expected.set(px.first, px.second, blue);
    }
    EXPECT_PICTURE(expected, graph_stages()[0]);
}

// A pair is joined exactly when neither end lies under the circle: its middle
// pixels are black; the segment (32, 33)-(33, 32) and its three mirror
// images, and every other segment from a grey point, are not drawn.
TEST(GaussianGraph, Stage2JoinsThePairsNotUnderTheCircle)
{
    ASSERT_EQ(2u, graph_stages().size());
    const Picture &shown = graph_stages()[1];
    std::set<Point> covered = under_circle();
    int joined = 0, unjoined = 0;
    for (const auto &pair : neighbour_pairs()) {
        bool drawn = !covered.count(pair.first) && !covered.count(pair.second);
        (drawn ? joined : unjoined)++;
        for (Point m : middle_pixels(pair.first, pair.second))
            EXPECT_EQ(drawn, shown.at(m.first, m.second) == black)
                << "segment (" << pair.first.first << ", " << pair.first.second << ")-(" << pair.second.first
                << ", " << pair.second.second << ") at pixel (" << m.first << ", " << m.second << ")";
    }
    EXPECT_GT(joined, 0);
    // The four named segments are among those left out.
    for (int sa : {-1, 1})
        for (int sb : {-1, 1})
            for (Point m : middle_pixels({32 * sa, 33 * sb}, {33 * sa, 32 * sb}))
                EXPECT_NE(black, shown.at(m.first, m.second))
                    << "pixel (" << m.first << ", " << m.second << ")";
    EXPECT_GE(unjoined, 4);
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
}

} // namespace
