// The drawing toolkit on a real SDL surface (dummy video driver): each figure
// is drawn in black on white and the set of pixels it changed is read back
// with get_pixel. Expected sets are worked out by hand from the stepping
// rules, or follow from a relation that the code does not use (translation,
// mirror symmetry, one routine's pixels inside another's). Then the picture
// programs as processes: signals, a display that cannot be reached, and a
// window closed under an X server of the test's own.
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "harness.hpp"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <chrono>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <csignal>
#include <fcntl.h>
#include <cstring>
#include <png.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// A picture saved by the capture writer reads back with the colour of the
// surface at every pixel: with 4 or 256 colours, written with a palette, and
// with 300, written as RGB.
TEST_F(Draw, SavedPictureReadsBackPixelForPixel)
{
    const struct {
        int colours;
        bool paletted;
    } cases[] = {{4, true}, {256, true}, {300, false}};
    std::string dir = make_temp_dir(), path = dir + "/saved.png";
    for (const auto &c : cases) {
        SDL_FillRect(screen, nullptr, white);
        for (int i = 1; i < c.colours; i++)
            fill_disc(i % 100 * 8, 10 + i / 100 * 8, 2, SDL_MapRGB(screen->format, i * 37 % 256, i / 256 * 90, i % 256));
        Picture expected;
        for (int y = 0; y < 600; y++)
            for (int x = 0; x < 800; x++) {
                Uint8 r, g, b;
                SDL_GetRGB(get_pixel(x, y), screen->format, &r, &g, &b);
                expected.set(x, y, static_cast<uint32_t>(r) << 16 | g << 8 | b);
            }
        ASSERT_TRUE(save_screen_png(path.c_str())) << c.colours;
        EXPECT_PICTURE(expected, read_png(path)) << c.colours;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << c.colours;
        EXPECT_EQ(c.paletted, (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0) << c.colours;
        png_image_free(&image);
    }
    unlink(path.c_str());
    rmdir(dir.c_str());
    EXPECT_FALSE(save_screen_png("/nonexistent-folder/saved.png"));
}

// ---------------------------------------------------------------------------
// The picture programs as processes, in a window or without one.

// A program started with its standard output and standard error on one
// pipe, with SIGINT and SIGTERM at their default actions as a shell leaves
// them, and with the environment changed by `set` ("NAME=value") and
// `unset` (names).
struct Child {
    pid_t pid = -1;
    int out = -1;
    std::string seen; // the output so far

    Child(const std::string &path, const std::vector<std::string> &args, const std::vector<std::string> &set,
          const std::vector<std::string> &unset)
    {
        int pipe_fds[2];
        if (pipe(pipe_fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(pipe_fds[1], 1);
            dup2(pipe_fds[1], 2);
            close(pipe_fds[0]);
            close(pipe_fds[1]);
            signal(SIGINT, SIG_DFL);
            signal(SIGTERM, SIG_DFL);
            for (const std::string &name : unset)
                unsetenv(name.c_str());
            for (const std::string &entry : set)
                putenv(strdup(entry.c_str()));
            std::vector<char *> argv{const_cast<char *>(path.c_str())};
            for (const std::string &a : args)
                argv.push_back(const_cast<char *>(a.c_str()));
            argv.push_back(nullptr);
            execv(path.c_str(), argv.data());
            _exit(127);
        }
        close(pipe_fds[1]);
        out = pipe_fds[0];
    }

    // Reads standard output until `text` appears in it (true), or until
    // `seconds` pass or the output ends (false).
    bool wait_for(const std::string &text, double seconds)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        char buffer[4096];
        while (seen.find(text) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd fd{out, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) != 1)
                return false;
            ssize_t got = read(out, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            seen.append(buffer, got);
        }
        return true;
    }

    // Reads the output to its end (or for `seconds`).
    void read_to_end(double seconds) { wait_for(std::string(1, '\0'), seconds); }

    // The exit status, or 128 + the signal that ended it; -1 (after killing
    // it) if it is still running after `seconds`.
    int finish(double seconds)
    {
        int status = 0;
        for (int left = static_cast<int>(seconds * 100); left > 0; left--) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            usleep(10000);
        }
        return -1;
    }

    ~Child()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0)
            close(out);
    }
};

// Ctrl-C (SIGINT) and kill (SIGTERM) end a picture program at once, with the
// status of the signal, while it waits at a stage; neither is taken for a
// request to show the next stage.
TEST(PictureProcess, SignalsEndTheProgramAtOnce)
{
    const struct {
        std::string program;
        int signal;
    } rows[] = {
        {PROGRAM(gaussian_walk_8), SIGINT},
        {PROGRAM(gaussian_walk_8), SIGTERM},
        {PROGRAM(fermat_walk_plot), SIGINT},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.program + ", signal " + std::to_string(row.signal));
        Child child(row.program, {}, {"SDL_VIDEODRIVER=dummy"}, {});
        ASSERT_TRUE(child.wait_for("stage 1 of ", 30)) << child.seen;
        kill(child.pid, row.signal);
        EXPECT_EQ(128 + row.signal, child.finish(30));
        EXPECT_EQ(std::string::npos, child.seen.find("stage 2 of ")) << child.seen;
    }
}

// A display number that no X server serves here.
static std::string unserved_display()
{
    int n = 90;
    while (access(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), F_OK) == 0)
        n++;
    return ":" + std::to_string(n);
}

// With DISPLAY naming a display that no server answers, and no driver
// chosen in SDL_VIDEODRIVER, SDL could offer only a driver without a window;
// the program says so, naming the display, and ends with status 1 instead of
// waiting unseen.
TEST(PictureProcess, UnreachableDisplayIsReported)
{
    std::string display = unserved_display();
    for (const std::string &program : {PROGRAM(gaussian_walk_8), PROGRAM(ulam_spiral_labels)}) {
        SCOPED_TRACE(program);
        Child child(program, {}, {"DISPLAY=" + display, "WAYLAND_DISPLAY=no-such-wayland-display"},
                    {"SDL_VIDEODRIVER"});
        child.wait_for("no window", 60);
        EXPECT_EQ(1, child.finish(60));
        child.read_to_end(5);
        EXPECT_NE(std::string::npos, child.seen.find("no window: the display \"" + display + "\"")) << child.seen;
        EXPECT_EQ(std::string::npos, child.seen.find("stage 1")) << child.seen;
    }
}

// An X server of its own (Xvfb), and an X client on it that finds a
// program's window and asks it to close, as a window manager does when the
// user clicks the close button: a WM_DELETE_WINDOW message.
class XServer
{
  public:
    XServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        server = fork();
        if (server == 0) {
            close(fds[0]);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number and a newline once it accepts
        // clients; the pipe stays open until the newline has come.
        std::string number;
        char c = 0;
        pollfd fd{fds[0], POLLIN, 0};
        while (poll(&fd, 1, 30000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        if (!number.empty() && c == '\n')
            name = ":" + number;
        close(fds[0]);
        if (!name.empty())
            connection = XOpenDisplay(name.c_str());
    }
    ~XServer()
    {
        if (connection)
            XCloseDisplay(connection);
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    // The top-level window of process `pid` (its _NET_WM_PID), or 0.
    Window window_of(pid_t pid)
    {
        Atom wm_pid = XInternAtom(connection, "_NET_WM_PID", False);
        Window root, parent, *children = nullptr, found = 0;
        unsigned count = 0;
        XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && found == 0; i++) {
            Atom type;
            int format;
            unsigned long items, after;
            unsigned char *value = nullptr;
            if (XGetWindowProperty(connection, children[i], wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                                   &items, &after, &value) == Success &&
                value != nullptr && items == 1 && *reinterpret_cast<unsigned long *>(value) == static_cast<unsigned long>(pid))
                found = children[i];
            if (value)
                XFree(value);
        }
        if (children)
            XFree(children);
        return found;
    }

    std::string title(Window window)
    {
        char *text = nullptr;
        std::string title;
        if (XFetchName(connection, window, &text) && text)
            title = text;
        if (text)
            XFree(text);
        return title;
    }

    void ask_to_close(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(connection, window, False, NoEventMask, &event);
        XFlush(connection);
    }

    pid_t server = -1;
    std::string name;
    Display *connection = nullptr;
};

// In a real window, closing it is a request to move on: the first close
// takes gaussian_walk_8 from its first stage to its second, the second ends
// it with status 0. The window's title names the program and the stage.
TEST(PictureProcess, ClosingTheWindowMovesToTheNextStage)
{
    XServer x;
    ASSERT_NE(nullptr, x.connection) << "no Xvfb (Debian package xvfb)";
    // libdbus, which SDL uses with an X11 window, keeps an allocation to the
    // end of the process: leaks are not looked for in this one run (the runs
    // without a window look for them).
    Child child(PROGRAM(gaussian_walk_8), {}, {"DISPLAY=" + x.name, "ASAN_OPTIONS=detect_leaks=0"},
                {"SDL_VIDEODRIVER", "WAYLAND_DISPLAY"});
    ASSERT_TRUE(child.wait_for("stage 1 of 2", 30)) << child.seen;
    Window window = 0;
    for (int tries = 0; tries < 100 && window == 0; tries++, usleep(50000))
        window = x.window_of(child.pid);
    ASSERT_NE(0u, window) << "no window with the program's _NET_WM_PID";
    EXPECT_EQ(0u, x.title(window).find("gaussian_walk_8: stage 1 of 2: the Gaussian primes")) << x.title(window);

    x.ask_to_close(window);
    ASSERT_TRUE(child.wait_for("stage 2 of 2", 30)) << child.seen;
    EXPECT_EQ(-1, child.finish(0.5)) << "ended at the first close request";
    x.ask_to_close(window);
    int status = child.finish(30);
    child.read_to_end(5);
    EXPECT_EQ(0, status) << child.seen;
}
