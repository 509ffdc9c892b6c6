// The drawing toolkit on a real SDL surface (dummy video driver): each figure
// is drawn in black on white and the set of pixels it changed is read back
// with get_pixel. Expected sets are typed by hand from the stepping rules'
// documented cases, or follow from a relation that the code does not use
// (translation, mirror symmetry, one routine's pixels inside another's).
#include "arith/identity.hpp"
#include "draw/draw.hpp"
#include "harness.hpp"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <unistd.h>
#include <utility>

using Points = std::set<std::pair<int, int>>;

// The window's title names the program that opened it.
const char program_name[] = "test_draw";
const char program_description[] = "The drawing toolkit's routines";
const char program_example[] = "";

static Uint32 white, black;

class Draw : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        open_screen();
        white = SDL_MapRGB(screen->format, 255, 255, 255);
        black = SDL_MapRGB(screen->format, 0, 0, 0);
    }
    void SetUp() override { SDL_FillRect(screen, nullptr, white); }
};

// Every pixel that is no longer white.
static Points painted()
{
    Points points;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            if (get_pixel(x, y) != white)
                points.insert({x, y});
    return points;
}

static Points rectangle(int x0, int y0, int x1, int y1)
{
    Points points;
    for (int x = x0; x <= x1; x++)
        for (int y = y0; y <= y1; y++)
            points.insert({x, y});
    return points;
}

static Points shifted(const Points &points, int dx, int dy)
{
    Points moved;
    for (auto [x, y] : points)
        if (x + dx >= 0 && x + dx < 800 && y + dy >= 0 && y + dy < 600)
            moved.insert({x + dx, y + dy});
    return moved;
}

static bool includes(const Points &outer, const Points &inner)
{
    return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

TEST_F(Draw, ScreenIsTheWhite800By600Surface)
{
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(800, screen->w);
    EXPECT_EQ(600, screen->h);
    EXPECT_EQ(32, screen->format->BitsPerPixel);
    EXPECT_NE(white, black);
    EXPECT_TRUE(painted().empty());
    EXPECT_EQ(white, get_pixel(0, 0));
    EXPECT_EQ(white, get_pixel(799, 599));
}

// Pixel (x, y) is the word x + 800 y of the surface's memory.
TEST_F(Draw, PutPixelAddressesWordXPlus800Y)
{
    const Uint32 *words = static_cast<const Uint32 *>(screen->pixels);
    put_pixel(799, 599, black);
    EXPECT_EQ(black, words[479999]);
    put_pixel(0, 1, black);
    EXPECT_EQ(black, words[800]);
    EXPECT_EQ(white, words[799]);
    EXPECT_EQ(white, words[801]);
    EXPECT_EQ(Points({{799, 599}, {0, 1}}), painted());

    // The picture stays on the surface across a flip, for later stages to read.
    flip_screen();
    EXPECT_EQ(black, get_pixel(799, 599));
    EXPECT_EQ(black, get_pixel(0, 1));
}

struct Segment {
    const char *name;
    int x0, y0, x1, y1;
    Points expected;
};

TEST_F(Draw, LineStepsTheMajorAxisWithTheErrorStartingAtZero)
{
    const Segment cases[] = {
        {"shallow", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2}}},
        {"shallow reversed", 5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
        {"shallow leftward", 5, 0, 0, 2, {{5, 0}, {4, 0}, {3, 0}, {2, 1}, {1, 1}, {0, 2}}},
        {"steep", 0, 0, 2, 5, {{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}}},
        {"steep reversed", 2, 5, 0, 0, {{2, 5}, {2, 4}, {2, 3}, {1, 2}, {1, 1}, {0, 0}}},
        {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"anti-diagonal", 10, 3, 7, 6, {{10, 3}, {9, 4}, {8, 5}, {7, 6}}},
        {"point", 7, 7, 7, 7, {{7, 7}}},
        {"upward", 10, 20, 10, 16, rectangle(10, 16, 10, 20)},
        {"leftward", 799, 599, 795, 599, rectangle(795, 599, 799, 599)},
    };
    for (const Segment &c : cases) {
        SDL_FillRect(screen, nullptr, white);
        draw_line(c.x0, c.y0, c.x1, c.y1, black);
        EXPECT_EQ(c.expected, painted()) << c.name;
    }
}

// A long segment: max(a, b) + 1 pixels, one per column, both ends drawn.
TEST_F(Draw, LineHasOnePixelPerStepOfTheMajorAxis)
{
    draw_line(100, 100, 400, 250, black);
    Points points = painted();
    EXPECT_EQ(301u, points.size());
    EXPECT_TRUE(points.count({100, 100}) && points.count({400, 250}));
    std::set<int> columns;
    for (auto [x, y] : points)
        columns.insert(x);
    EXPECT_EQ(301u, columns.size());
}

TEST_F(Draw, ClippedLineIsAStaircaseCutAtTheWindow)
{
    Points corner_stairs = {{795, 595}};
    for (int k = 796; k <= 799; k++)
        corner_stairs.insert({{k, k - 200 - 1}, {k, k - 200}});
    const Segment cases[] = {
        {"shallow", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {4, 1}, {5, 1}, {5, 2}}},
        {"diagonal", 0, 0, 2, 2, {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}},
        {"x axis of the count plot", 20, 550, 800, 550, rectangle(20, 550, 799, 550)},
        {"y axis of the count plot", 20, 550, 20, -30, rectangle(20, 0, 20, 550)},
        {"diagonal out of the corner", 795, 595, 805, 605, corner_stairs},
        {"wholly outside", -10, -10, -1, -5, {}},
        {"along the edge outside", -1, 0, -1, 599, {}},
    };
    for (const Segment &c : cases) {
        SDL_FillRect(screen, nullptr, white);
        draw_line_clipped(c.x0, c.y0, c.x1, c.y1, black);
        EXPECT_EQ(c.expected, painted()) << c.name;
    }
}

// Unclipped, the staircase has a + b + 1 pixels, and its minor-axis steps
// fall where draw_line's do: every pixel of draw_line is one of its pixels.
TEST_F(Draw, ClippedLineStepsWhereLineSteps)
{
    const Segment cases[] = {
        {"shallow", 10, 10, 300, 170, {}},
        {"steep upward", 600, 500, 500, 20, {}},
        {"diagonal leftward", 400, 100, 300, 200, {}},
    };
    for (const Segment &c : cases) {
        SDL_FillRect(screen, nullptr, white);
        draw_line(c.x0, c.y0, c.x1, c.y1, black);
        Points line = painted();
        SDL_FillRect(screen, nullptr, white);
        draw_line_clipped(c.x0, c.y0, c.x1, c.y1, black);
        Points stairs = painted();
        EXPECT_EQ(static_cast<size_t>(std::abs(c.x1 - c.x0) + std::abs(c.y1 - c.y0) + 1), stairs.size())
            << c.name;
        EXPECT_TRUE(includes(stairs, line)) << c.name;
    }
}

// The disc of radius 2, typed out: the 5x5 square without its corners.
static Points disc2(int cx, int cy)
{
    Points points = rectangle(cx - 2, cy - 2, cx + 2, cy + 2);
    for (int sx : {-2, 2})
        for (int sy : {-2, 2})
            points.erase({cx + sx, cy + sy});
    return points;
}

static Points plus_sign(int cx, int cy)
{
    return {{cx, cy}, {cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
}

TEST_F(Draw, DiscsOfTheWalk)
{
    const struct {
        int r;
        size_t count;
    } cases[] = {{0, 1}, {1, 5}, {2, 21}, {3, 37}, {10, 357}};
    const int cx = 400, cy = 300;
    for (auto c : cases) {
        SDL_FillRect(screen, nullptr, white);
        fill_disc(cx, cy, c.r, black);
        Points disc = painted();
        EXPECT_EQ(c.count, disc.size()) << "r = " << c.r;
        // Inside the square of side 2r + 1, reaching its four edge midpoints,
        // and symmetric about both axes through the centre.
        EXPECT_TRUE(includes(rectangle(cx - c.r, cy - c.r, cx + c.r, cy + c.r), disc)) << "r = " << c.r;
        for (auto p : Points{{cx - c.r, cy}, {cx + c.r, cy}, {cx, cy - c.r}, {cx, cy + c.r}})
            EXPECT_TRUE(disc.count(p)) << "r = " << c.r;
        for (auto [x, y] : disc)
            EXPECT_TRUE(disc.count({2 * cx - x, y}) && disc.count({x, 2 * cy - y})) << "r = " << c.r;
    }
    SDL_FillRect(screen, nullptr, white);
    fill_disc(cx, cy, 0, black);
    EXPECT_EQ(Points({{cx, cy}}), painted());
    SDL_FillRect(screen, nullptr, white);
    fill_disc(cx, cy, 1, black);
    EXPECT_EQ(plus_sign(cx, cy), painted());
    SDL_FillRect(screen, nullptr, white);
    fill_disc(cx, cy, 2, black);
    EXPECT_EQ(disc2(cx, cy), painted());

    // Radius 10: the top and bottom rows are cx - 3 .. cx + 3.
    SDL_FillRect(screen, nullptr, white);
    fill_disc(cx, cy, 10, black);
    for (int y : {cy - 10, cy + 10})
        for (int x = cx - 5; x <= cx + 5; x++)
            EXPECT_EQ(x >= cx - 3 && x <= cx + 3, get_pixel(x, y) == black) << "(" << x << ", " << y << ")";
}

TEST_F(Draw, CirclesOfTheWalk)
{
    const int cx = 200, cy = 150;
    draw_circle(cx, cy, 1, black);
    EXPECT_EQ(plus_sign(cx, cy), painted());

    SDL_FillRect(screen, nullptr, white);
    draw_circle(cx, cy, 2, black);
    Points ring = disc2(cx, cy);
    for (auto p : plus_sign(cx, cy))
        ring.erase(p);
    EXPECT_EQ(ring, painted());

    // 8r pixels from r = 2 on, all on the disc of the same walk.
    for (int r : {2, 3, 5, 10, 57}) {
        SDL_FillRect(screen, nullptr, white);
        draw_circle(cx, cy, r, black);
        Points circle = painted();
        EXPECT_EQ(static_cast<size_t>(8 * r), circle.size()) << "r = " << r;
        SDL_FillRect(screen, nullptr, white);
        fill_disc(cx, cy, r, black);
        EXPECT_TRUE(includes(painted(), circle)) << "r = " << r;
    }
}

// A figure cut by the window keeps exactly its pixels inside: the same figure
// drawn well inside and moved over, minus what falls outside.
TEST_F(Draw, DiscsAndCirclesAreClipped)
{
    const struct {
        const char *name;
        int cx, cy, r;
    } cases[] = {
        {"left edge", -3, 300, 10},
        {"top left corner", 2, -1, 7},
        {"bottom right", 803, 602, 9},
        {"right edge", 795, 20, 30},
    };
    for (bool outline : {false, true}) {
        auto draw = outline ? draw_circle : fill_disc;
        for (auto c : cases) {
            SDL_FillRect(screen, nullptr, white);
            draw(400, 300, c.r, black);
            Points whole = painted();
            SDL_FillRect(screen, nullptr, white);
            draw(c.cx, c.cy, c.r, black);
            EXPECT_EQ(shifted(whole, c.cx - 400, c.cy - 300), painted())
                << c.name << (outline ? " circle" : " disc");
        }
        // Wholly outside: nothing at all.
        SDL_FillRect(screen, nullptr, white);
        draw(-20, -20, 10, black);
        draw(900, 300, 50, black);
        draw(400, 700, 99, black);
        EXPECT_TRUE(painted().empty()) << (outline ? "circle" : "disc");
    }
}

// Strokes of length w = 3 each side, every tenth of a pixel. t stops just
// short of 1, so the last strokes stand one pixel before the end, which only
// the centre line reaches. The quarter turn is pi/2 in single precision, so a
// stroke leans by cos(theta) = -4.4e-8: where the start falls on a whole
// pixel and the lean is toward it, the stroke end truncates one pixel back and
// the first strokes step diagonally, leaving the outer corners of the start
// column (or row) white.
TEST_F(Draw, ThickLines)
{
    Points rightward = rectangle(100, 97, 109, 103);
    rightward.insert({110, 100});
    Points leftward = rectangle(100, 97, 109, 103);
    for (int y = 98; y <= 102; y++)
        leftward.insert({110, y});
    Points downward = rectangle(197, 100, 203, 109);
    downward.insert({200, 110});
    Points upward = rectangle(197, 100, 203, 109);
    for (int x = 198; x <= 202; x++)
        upward.insert({x, 110});
    const struct {
        const char *name;
        int x0, y0, x1, y1;
        Points expected;
        size_t count;
    } cases[] = {
        {"rightward", 100, 100, 110, 100, rightward, 71},   {"leftward", 110, 100, 100, 100, leftward, 75},
        {"downward", 200, 100, 200, 110, downward, 71},     {"upward", 200, 110, 200, 100, upward, 75},
        {"no length", 300, 300, 300, 300, {{300, 300}}, 1},
    };
    for (const auto &c : cases) {
        SDL_FillRect(screen, nullptr, white);
        draw_thick_line(c.x0, c.y0, c.x1, c.y1, 3, black);
        Points band = painted();
        EXPECT_EQ(c.count, band.size()) << c.name;
        EXPECT_EQ(c.expected, band) << c.name;
    }

    // A slanted band: the centre line within it, and every pixel within w of
    // the segment's line but for the truncation of the stroke ends (distance
    // formula); about 2w + 1 pixels across.
    SDL_FillRect(screen, nullptr, white);
    draw_thick_line(200, 400, 260, 320, 4, black);
    Points slanted = painted();
    SDL_FillRect(screen, nullptr, white);
    draw_line(200, 400, 260, 320, black);
    EXPECT_TRUE(includes(slanted, painted()));
    for (auto [x, y] : slanted) {
        // Line through (200, 400) with direction (60, -80), length 100.
        double distance = std::abs(80.0 * (x - 200) + 60.0 * (y - 400)) / 100;
        EXPECT_LE(distance, 4 + 1.5) << "(" << x << ", " << y << ")";
    }
    EXPECT_GT(slanted.size(), 8u * 100);
}

// The wait ends on a key press (false) or a quit request (true); other events
// are dropped, and events queued before the wait are not thrown away.
TEST_F(Draw, WaitEndsOnAKeyPressOrAQuitRequest)
{
    auto push = [](Uint8 type) {
        SDL_Event event{};
        event.type = type;
        ASSERT_EQ(0, SDL_PushEvent(&event));
    };
    push(SDL_MOUSEBUTTONDOWN);
    push(SDL_MOUSEMOTION);
    push(SDL_KEYUP);
    push(SDL_KEYDOWN);
    push(SDL_KEYDOWN);
    push(SDL_QUIT);
    push(SDL_KEYDOWN);
    EXPECT_FALSE(wait_key_or_quit());
    EXPECT_FALSE(wait_key_or_quit());
    EXPECT_TRUE(wait_key_or_quit());
    EXPECT_FALSE(wait_key_or_quit());
}

// Fills the stack below the caller with zeros, so that a record the next call
// leaves unwritten reads as "no event" rather than as whatever was there.
__attribute__((noinline)) static void zero_stack_below()
{
    volatile unsigned char area[16384];
    for (size_t i = 0; i < sizeof area; i++)
        area[i] = 0;
}

// When the event queue fails (here the video subsystem is shut down under
// it), SDL_WaitEvent fills in no event: SDL 1.2 says so with 0, its layer
// over SDL 2 with -1. The wait then ends as on a quit request instead of
// reading the empty record again and again. In a child process, with an alarm
// to end a wait that would never return.
TEST_F(Draw, WaitEndsWhenTheEventQueueFails)
{
    EXPECT_EXIT(
        {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            alarm(5);
            zero_stack_below();
            _exit(wait_key_or_quit() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
