// The drawing toolkit on its picture in memory: each figure is drawn in
// black on white and the set of pixels it changed is read back with
// get_pixel. Expected sets are worked out by hand from the stepping rules,
// or follow from a relation that the code does not use (translation, mirror
// symmetry, one routine's pixels inside another's). Then the window's wait
// on SDL's event queue, the PNG writer, and the picture programs as
// processes: with no window to show them, and in a window of an X server of
// the test's own.
#include "catalogue.hpp"
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "draw/png.hpp"
#include "harness.hpp"
#include "picture_shapes.hpp"
#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using Points = std::set<std::pair<int, int>>;

const char program_name[] = "test_draw";
const char program_description[] = "The drawing toolkit's routines";
const char program_example[] = "";

const Colour white = map_colour(255, 255, 255), black = map_colour(0, 0, 0);

class Draw : public ::testing::Test
{
  protected:
    void SetUp() override { clear_screen(white); }
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

// Pixel (x, y) is the word x + 800 y of the picture, and the picture starts
// all white after clear_screen.
TEST_F(Draw, PutPixelAddressesWordXPlus800Y)
{
    EXPECT_TRUE(painted().empty());
    put_pixel(799, 599, black);
    EXPECT_EQ(black, screen_pixels[479999]);
    put_pixel(0, 1, black);
    EXPECT_EQ(black, screen_pixels[800]);
    EXPECT_EQ(white, screen_pixels[799]);
    EXPECT_EQ(white, screen_pixels[801]);
    EXPECT_EQ(Points({{799, 599}, {0, 1}}), painted());
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
        clear_screen(white);
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
        clear_screen(white);
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
        clear_screen(white);
        draw_line(c.x0, c.y0, c.x1, c.y1, black);
        Points line = painted();
        clear_screen(white);
        draw_line_clipped(c.x0, c.y0, c.x1, c.y1, black);
        Points stairs = painted();
        EXPECT_EQ(static_cast<size_t>(std::abs(c.x1 - c.x0) + std::abs(c.y1 - c.y0) + 1), stairs.size())
            << c.name;
        EXPECT_TRUE(includes(stairs, line)) << c.name;
    }
}

// A disc of the shared shapes, as points.
static Points disc_points(int cx, int cy, int r)
{
    Points points;
    for (auto [dx, dy] : disc_offsets(r))
        points.insert({cx + dx, cy + dy});
    return points;
}

// The discs of radius 0, 1, 2 and 10 are the typed-out shapes; every disc
// lies inside the square of side 2r + 1, reaches its four edge midpoints and
// is symmetric about both axes through the centre (r = 3: 37 pixels; 20 is
// larger than the radii whose shapes are kept).
TEST_F(Draw, DiscsOfTheWalk)
{
    const struct {
        int r;
        size_t count; // 0: not worked out
        bool typed;   // one of the typed-out shapes
    } cases[] = {{0, 1, true}, {1, 5, true}, {2, 21, true}, {3, 37, false},
                 {6, 0, false}, {10, 357, true}, {20, 0, false}};
    const int cx = 400, cy = 300;
    for (auto c : cases) {
        clear_screen(white);
        fill_disc(cx, cy, c.r, black);
        Points disc = painted();
        if (c.typed) {
            EXPECT_EQ(disc_points(cx, cy, c.r), disc) << "r = " << c.r;
        }
        if (c.count != 0) {
            EXPECT_EQ(c.count, disc.size()) << "r = " << c.r;
        }
        EXPECT_TRUE(includes(rectangle(cx - c.r, cy - c.r, cx + c.r, cy + c.r), disc)) << "r = " << c.r;
        for (auto p : Points{{cx - c.r, cy}, {cx + c.r, cy}, {cx, cy - c.r}, {cx, cy + c.r}})
            EXPECT_TRUE(disc.count(p)) << "r = " << c.r;
        for (auto [x, y] : disc)
            EXPECT_TRUE(disc.count({2 * cx - x, y}) && disc.count({x, 2 * cy - y})) << "r = " << c.r;
    }
    // Radius 10: the top and bottom rows are cx - 3 .. cx + 3.
    for (int y : {cy - 10, cy + 10})
        for (int x = cx - 5; x <= cx + 5; x++)
            EXPECT_EQ(x >= cx - 3 && x <= cx + 3, disc_points(cx, cy, 10).count({x, y}) == 1) << x << ", " << y;
}

// The outline of the walk: the disc of radius 1 for r = 1, the disc of
// radius 2 without that of radius 1 for r = 2, and from r = 2 on 8r pixels,
// all on the disc of the same radius.
TEST_F(Draw, CirclesOfTheWalk)
{
    const int cx = 200, cy = 150;
    draw_circle(cx, cy, 1, black);
    EXPECT_EQ(disc_points(cx, cy, 1), painted());

    clear_screen(white);
    draw_circle(cx, cy, 2, black);
    Points ring = disc_points(cx, cy, 2);
    for (auto p : disc_points(cx, cy, 1))
        ring.erase(p);
    EXPECT_EQ(ring, painted());

    for (int r : {2, 3, 5, 10, 57}) {
        clear_screen(white);
        draw_circle(cx, cy, r, black);
        Points circle = painted();
        EXPECT_EQ(static_cast<size_t>(8 * r), circle.size()) << "r = " << r;
        clear_screen(white);
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
        {"touching the top left corner", 10, 10, 10},
        {"one column over the left edge", 9, 300, 10},
        {"left edge", -3, 300, 10},
        {"top left corner", 2, -1, 7},
        {"bottom right", 803, 602, 9},
        {"right edge", 795, 20, 30},
    };
    for (bool outline : {false, true}) {
        auto draw = outline ? draw_circle : fill_disc;
        for (auto c : cases) {
            clear_screen(white);
            draw(400, 300, c.r, black);
            Points whole = painted();
            clear_screen(white);
            draw(c.cx, c.cy, c.r, black);
            EXPECT_EQ(shifted(whole, c.cx - 400, c.cy - 300), painted())
                << c.name << (outline ? " circle" : " disc");
        }
        // Wholly outside: nothing at all.
        clear_screen(white);
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
        clear_screen(white);
        draw_thick_line(c.x0, c.y0, c.x1, c.y1, 3, black);
        Points band = painted();
        EXPECT_EQ(c.count, band.size()) << c.name;
        EXPECT_EQ(c.expected, band) << c.name;
    }

    // A slanted band: the centre line within it, and every pixel within w of
    // the segment's line but for the truncation of the stroke ends (distance
    // formula); about 2w + 1 pixels across.
    clear_screen(white);
    draw_thick_line(200, 400, 260, 320, 4, black);
    Points slanted = painted();
    clear_screen(white);
    draw_line(200, 400, 260, 320, black);
    EXPECT_TRUE(includes(slanted, painted()));
    for (auto [x, y] : slanted) {
        // Line through (200, 400) with direction (60, -80), length 100.
        double distance = std::abs(80.0 * (x - 200) + 60.0 * (y - 400)) / 100;
        EXPECT_LE(distance, 4 + 1.5) << "(" << x << ", " << y << ")";
    }
    EXPECT_GT(slanted.size(), 8u * 100);
}

// The window's wait reads SDL's event queue, here with SDL's video started
// by the test on the dummy driver.
class Wait : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};

// The wait ends on a key press (false) or a quit request (true); other events
// are dropped, and events queued before the wait are not thrown away.
TEST_F(Wait, EndsOnAKeyPressOrAQuitRequest)
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
TEST_F(Wait, EndsWhenTheEventQueueFails)
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
// picture at every pixel: runs, rows that repeat the row above and rows that
// do not, with a palette up to 256 colours, and past that as RGB.
TEST_F(Draw, SavedPictureReadsBackPixelForPixel)
{
    const struct {
        const char *name;
        int colours;
        bool noise, paletted;
    } cases[] = {
        {"4 colours in discs", 4, false, true},
        {"256 colours in discs", 256, false, true},
        {"200 colours, scattered", 200, true, true},
        {"300 colours in discs", 300, false, false},
        {"300 colours, scattered", 300, true, false},
    };
    std::string dir = make_temp_dir(), path = dir + "/saved.png";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        clear_screen(white);
        auto colour = [](int i) { return map_colour(i * 37 % 256, i / 256 * 90, i % 256); };
        if (c.noise)
            for (int y = 0; y < 600; y++)
                for (int x = 0; x < 800; x++)
                    put_pixel(x, y, colour((x * 7 + y * 13 + x * y) % c.colours));
        else
            for (int i = 1; i < c.colours; i++)
                fill_disc(i % 100 * 8, 10 + i / 100 * 8, 2, colour(i));
        Picture expected;
        for (int y = 0; y < 600; y++)
            for (int x = 0; x < 800; x++)
                expected.set(x, y, get_pixel(x, y));
        ASSERT_TRUE(save_screen_png(path.c_str()));
        EXPECT_PICTURE(expected, read_png(path));
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
        EXPECT_EQ(c.paletted, (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0);
        png_image_free(&image);
    }
    unlink(path.c_str());
    rmdir(dir.c_str());
    EXPECT_FALSE(save_screen_png("/nonexistent-folder/saved.png"));
}

// ---------------------------------------------------------------------------
// The picture programs as processes, in a window or without one.

// A display number that no X server serves here.
static std::string unserved_display()
{
    int n = 90;
    while (access(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), F_OK) == 0)
        n++;
    return ":" + std::to_string(n);
}

// With no window to show its stages in, a picture program would wait for a
// key that nothing can give. It refuses before it draws: SDL's "dummy" or
// "offscreen" driver chosen in SDL_VIDEODRIVER, or a display that no server
// answers; one line on standard error that says so and points at the
// gallery, nothing on standard output, and status 3, as the launcher's own
// refusal. Every picture program refuses the dummy driver. A driver that SDL
// does not know is a failure of SDL's: status 1.
TEST(PictureProcess, RefusesWithoutAWindow)
{
    const std::string gallery = "; to get the pictures as PNG files, run: ./demo gallery DIR\n";
    const std::string display = unserved_display();
    struct Row {
        std::string program;
        std::vector<std::string> env;
        int status;
        std::string starts, ends;
    };
    std::vector<Row> rows;
    for (const CatalogueEntry &e : catalogue)
        if (std::string(e.kind) == "picture")
            rows.push_back({e.name, {"SDL_VIDEODRIVER=dummy"}, 3,
                            std::string(e.name) + ": no window: SDL_VIDEODRIVER chooses SDL's \"dummy\" driver, which "
                                                  "shows nothing",
                            gallery});
    rows.push_back({"fermat_walk_plot", {"SDL_VIDEODRIVER=offscreen"}, 3,
                    "fermat_walk_plot: no window: SDL_VIDEODRIVER chooses SDL's \"offscreen\" driver", gallery});
    // libdbus, which SDL starts on the way, keeps an allocation to the end of
    // the process: leaks are not looked for in this run.
    rows.push_back({"ulam_spiral_labels",
                    {"SDL_VIDEODRIVER", "DISPLAY=" + display, "WAYLAND_DISPLAY=no-such-wayland-display",
                     "ASAN_OPTIONS=detect_leaks=0"},
                    3,
                    "ulam_spiral_labels: no window: the display \"" + display +
                        "\" and the Wayland display \"no-such-wayland-display\" cannot be reached, and SDL's only "
                        "other choice",
                    gallery});
    rows.push_back({"prime_count_plot", {"SDL_VIDEODRIVER=nosuchdriver"}, 1,
                    "prime_count_plot: cannot start SDL video", "\n"});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.program + " with " + row.env[0]);
        RunOptions options;
        options.env = row.env;
        options.timeout_seconds = 30;
        ProgramRun run = run_program(std::string(SUITE_BIN_DIR "/") + row.program, options);
        EXPECT_EQ(row.status, run.status) << run.err;
        EXPECT_EQ("", run.out);
        // The last line (the Wayland library may say something before it).
        size_t start = run.err.size() < 2 ? 0 : run.err.rfind('\n', run.err.size() - 2);
        std::string line = run.err.substr(start == std::string::npos ? 0 : start + 1);
        EXPECT_EQ(0u, line.rfind(row.starts, 0)) << run.err;
        EXPECT_TRUE(line.size() >= row.ends.size() &&
                    line.compare(line.size() - row.ends.size(), row.ends.size(), row.ends) == 0)
            << run.err;
    }
}

// An X server of its own (Xvfb), and an X client on it that finds a
// program's window, reads its picture, and sends it what a window manager
// and a keyboard would: a request to close (WM_DELETE_WINDOW) and a key.
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

    // The top-level window of process `pid` (its _NET_WM_PID), once it has
    // one; 0 if none comes within 10 seconds.
    Window window_of(pid_t pid)
    {
        Atom wm_pid = XInternAtom(connection, "_NET_WM_PID", False);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        Window found = 0;
        while (found == 0 && std::chrono::steady_clock::now() < deadline) {
            Window root, parent, *children = nullptr;
            unsigned count = 0;
            XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count);
            for (unsigned i = 0; i < count && found == 0; i++) {
                Atom type;
                int format;
                unsigned long items, after;
                unsigned char *value = nullptr;
                if (XGetWindowProperty(connection, children[i], wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                                       &items, &after, &value) == Success &&
                    value != nullptr && items == 1 &&
                    *reinterpret_cast<unsigned long *>(value) == static_cast<unsigned long>(pid))
                    found = children[i];
                if (value)
                    XFree(value);
            }
            if (children)
                XFree(children);
            if (found == 0)
                usleep(10000);
        }
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

    // What the window shows, as 0xRRGGBB values.
    Picture picture(Window window)
    {
        Picture shown;
        XImage *image = XGetImage(connection, window, 0, 0, 800, 600, AllPlanes, ZPixmap);
        if (image == nullptr) {
            ADD_FAILURE() << "cannot read the window";
            return shown;
        }
        for (int y = 0; y < 600; y++)
            for (int x = 0; x < 800; x++) {
                unsigned long pixel = XGetPixel(image, x, y);
                auto channel = [pixel](unsigned long mask) {
                    int shift = __builtin_ctzl(mask);
                    return static_cast<uint32_t>((pixel & mask) >> shift);
                };
                shown.set(x, y, channel(image->red_mask) << 16 | channel(image->green_mask) << 8 |
                                    channel(image->blue_mask));
            }
        XDestroyImage(image);
        return shown;
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

    // The space bar pressed and let go in the window.
    void press_key(Window window)
    {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(connection);
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode(connection, XK_space);
        XSendEvent(connection, window, True, KeyPressMask, &event);
        event.xkey.type = KeyRelease;
        XSendEvent(connection, window, True, KeyReleaseMask, &event);
        XFlush(connection);
    }

    pid_t server = -1;
    std::string name;
    Display *connection = nullptr;
};

// In a window: each stage shows exactly the picture that the capture saves
// for it, and the window's title names the program and the stage, and what
// lies under the mouse; closing
// the window moves gaussian_walk_8 from its first stage to its second, and a
// key ends it with status 0. Ctrl-C (SIGINT) and kill (SIGTERM) end
// fermat_walk_plot at once, while it waits at its one stage, with the status
// of the signal: neither is taken for a request to move on, which would end
// it with status 0.
TEST(PictureProcess, InAWindow)
{
    XServer x;
    ASSERT_NE(nullptr, x.connection) << "no Xvfb (Debian package xvfb)";
    const std::vector<Picture> captured = capture_stages(CAPTURE(gaussian_walk_8));
    ASSERT_EQ(2u, captured.size());
    // libdbus, which SDL uses with an X11 window, keeps an allocation to the
    // end of the process: leaks are not looked for in these runs (the runs
    // without a window look for them).
    RunOptions in_window;
    in_window.env = {"DISPLAY=" + x.name, "ASAN_OPTIONS=detect_leaks=0", "SDL_VIDEODRIVER", "WAYLAND_DISPLAY"};

    Process program(PROGRAM(gaussian_walk_8), in_window);
    ASSERT_TRUE(program.wait_for("stage 1 of 2", 30)) << program.out << program.err;
    Window window = x.window_of(program.pid());
    ASSERT_NE(0u, window) << "no window with the program's _NET_WM_PID";
    EXPECT_EQ(0u, x.title(window).find("gaussian_walk_8: stage 1 of 2: the Gaussian primes")) << x.title(window);
    EXPECT_PICTURE(captured[0], x.picture(window));
    // The mouse on 1 + i, 12 pixels right of and above the centre: the
    // title reads it out.
    const std::string readout = " | 1 + i, norm 2, a Gaussian prime";
    XWarpPointer(x.connection, None, window, 0, 0, 0, 0, 412, 288);
    XFlush(x.connection);
    for (int tries = 0; tries < 300 && x.title(window).find(readout) == std::string::npos; tries++)
        usleep(10000);
    EXPECT_NE(std::string::npos, x.title(window).find(readout)) << x.title(window);
    x.ask_to_close(window);
    ASSERT_TRUE(program.wait_for("stage 2 of 2", 30)) << program.out << program.err;
    EXPECT_PICTURE(captured[1], x.picture(window));
    x.press_key(window);
    EXPECT_EQ(0, program.wait_end(30)) << program.err;

    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE("signal " + std::to_string(signal));
        Process waiting(PROGRAM(fermat_walk_plot), in_window);
        ASSERT_TRUE(waiting.wait_for("stage 1 of 1", 30)) << waiting.out << waiting.err;
        waiting.signal(signal);
        EXPECT_EQ(128 + signal, waiting.wait_end(30));
    }
}
