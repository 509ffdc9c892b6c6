// ulam_spiral_labels, read back from its capture. The expected picture is
// built here: the spiral from its run lengths 1, 1, 2, 2, 3, 3, ..., the
// segments as straight runs of pixels, the dots as 21-pixel discs, and each
// label's glyphs rendered here with SDL_ttf from the same font and pasted at
// the corner that the label's direction gives.
#include "harness.hpp"
#include "picture_shapes.hpp"
#include "plot_events.hpp"
#include <SDL_ttf.h>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

const uint32_t black = 0x000000;
const int steps = 72;

// The ink of a text as SDL_ttf renders it at size 20: which pixels of the
// rendered surface are glyph, not background.
struct Glyphs {
    int w = 0, h = 0;
    std::vector<bool> ink;
    long count() const
    {
        long n = 0;
        for (bool b : ink)
            n += b;
        return n;
    }
};

const Glyphs &glyphs(const std::string &text)
{
    static std::map<std::string, Glyphs> rendered;
    auto found = rendered.find(text);
    if (found != rendered.end())
        return found->second;
    Glyphs g;
    if (TTF_WasInit() == 0 && TTF_Init() != 0)
        ADD_FAILURE() << "TTF_Init: " << TTF_GetError();
    TTF_Font *font = TTF_OpenFont(SUITE_BIN_DIR "/times.ttf", 20);
    SDL_Surface *surface = font ? TTF_RenderText_Solid(font, text.c_str(), SDL_Color{0, 0, 0, 0}) : nullptr;
    if (surface == nullptr) {
        ADD_FAILURE() << "cannot render \"" << text << "\": " << TTF_GetError();
    } else {
        g.w = surface->w;
        g.h = surface->h;
        const Uint8 *pixels = static_cast<const Uint8 *>(surface->pixels);
        for (int y = 0; y < g.h; y++)
            for (int x = 0; x < g.w; x++)
                g.ink.push_back(pixels[x + y * surface->pitch] != surface->format->colorkey);
        SDL_FreeSurface(surface);
    }
    if (font)
        TTF_CloseFont(font);
    return rendered.emplace(text, g).first->second;
}

// Pastes the ink of text with its top-left corner at (x, y).
void paste(Picture &picture, const std::string &text, int x, int y)
{
    const Glyphs &g = glyphs(text);
    for (int v = 0; v < g.h; v++)
        for (int u = 0; u < g.w; u++)
            if (g.ink[u + v * g.w] && picture.inside(x + u, y + v))
                picture.set(x + u, y + v, black);
}

struct SpiralPoint {
    int x, y;             // pixel
    int label_x, label_y; // top-left corner of its label
};

// Points 0 to 72 of the square spiral at 40 pixels a step: the k-th run goes
// in direction k mod 4 (right, up, left, down on the screen) and is
// k / 2 + 1 steps long.
std::vector<SpiralPoint> spiral()
{
    const int dx[] = {40, 0, -40, 0}, dy[] = {0, -40, 0, 40};
    // Label corner relative to the point reached, by the step's direction.
    const int lx[] = {-12, 0, -12, -30}, ly[] = {-3, -13, -25, -13};
    std::vector<SpiralPoint> points{{400, 300, 0, 0}};
    for (int run = 0; static_cast<int>(points.size()) <= steps; run++)
        for (int n = 0; n < run / 2 + 1 && static_cast<int>(points.size()) <= steps; n++) {
            SpiralPoint last = points.back();
            int d = run % 4, x = last.x + dx[d], y = last.y + dy[d];
            points.push_back({x, y, x + lx[d], y + ly[d]});
        }
    return points;
}

// The pixels of the segment from point k - 1 to point k, both ends included.
std::vector<std::pair<int, int>> segment(const std::vector<SpiralPoint> &points, int k)
{
    const SpiralPoint &a = points[k - 1], &b = points[k];
    int ux = (b.x > a.x) - (b.x < a.x), uy = (b.y > a.y) - (b.y < a.y);
    std::vector<std::pair<int, int>> pixels;
    for (int i = 0; i <= 40; i++)
        pixels.push_back({a.x + i * ux, a.y + i * uy});
    return pixels;
}

const Picture &shown()
{
    static const std::vector<Picture> stages = capture_stages(CAPTURE(ulam_spiral_labels));
    static const Picture empty;
    EXPECT_EQ(1u, stages.size()) << "ulam_spiral_labels shows one picture";
    return stages.empty() ? empty : stages[0];
}

// The whole picture: the title, 72 segments, 72 labels and 72 dots. The
// reference walk is checked first against figures worked out by hand: step
// 1 to (440, 300), step 72 to (240, 460) with no dot there, and the corners
// of labels 1 to 6 and 72 from the offsets of their directions.
TEST(UlamSpiralLabels, PictureIsTheWalkTheLabelsAndTheDots)
{
    std::vector<SpiralPoint> points = spiral();
    ASSERT_EQ(73u, points.size());
    ASSERT_EQ(440, points[1].x);
    ASSERT_EQ(300, points[1].y);
    ASSERT_EQ(240, points[72].x);
    ASSERT_EQ(460, points[72].y);
    const struct {
        int step, x, y;
    } corners[] = {{1, 428, 297}, {2, 440, 247}, {3, 388, 235}, {4, 348, 235},
                   {5, 330, 287}, {6, 330, 327}, {72, 210, 447}};
    for (auto c : corners) {
        ASSERT_EQ(c.x, points[c.step].label_x) << "label " << c.step;
        ASSERT_EQ(c.y, points[c.step].label_y) << "label " << c.step;
    }
    ASSERT_GT(glyphs(" ULAM").count(), 0) << "the title has no ink";

    Picture expected;
    paste(expected, " ULAM", 20, 80);
    for (int k = 1; k <= steps; k++) {
        for (auto p : segment(points, k))
            expected.set(p.first, p.second, black);
        paste(expected, " " + std::to_string(k), points[k].label_x, points[k].label_y);
    }
    for (int j = 0; j < steps; j++)
        for (auto d : disc_offsets(2))
            expected.set(points[j].x + d.first, points[j].y + d.second, black);
    EXPECT_PICTURE(expected, shown());
}

// The events: each of the four rounds ends on the lattice point of its last
// step, and the walk on point 72, (-4, 4) with y downward.
TEST(UlamSpiralLabels, RoundsEndWhereTheWalkIs)
{
    std::vector<SpiralPoint> points = spiral();
    std::vector<JsonEvent> events = capture_events(CAPTURE(ulam_spiral_labels));
    std::vector<JsonEvent> rounds = events_named(events, "step", "round");
    ASSERT_EQ(4u, rounds.size());
    for (const JsonEvent &round : rounds) {
        const SpiralPoint &end = points.at(static_cast<size_t>(round["last"]));
        EXPECT_EQ((end.x - 400) / 40, round["x"]) << "round " << round["round"];
        EXPECT_EQ((end.y - 300) / 40, round["y"]) << "round " << round["round"];
    }
    EXPECT_EQ(72, rounds.back()["last"]);
    EXPECT_EQ(steps, events.back()["steps"]);
    EXPECT_EQ(-4, events.back()["x"]);
    EXPECT_EQ(4, events.back()["y"]);
}

// times.ttf is taken from the working directory, or else from beside the
// program. Where neither place has a usable font (missing, empty, not a
// font, cut short), the program names both folders, ends with status 1 and
// shows nothing. Each case runs a copy of the program in a folder of its
// own, from another folder.
TEST(UlamSpiralLabels, FontFromTheWorkingDirectoryOrBesideTheProgram)
{
    std::string real_font;
    {
        std::ifstream in(SUITE_BIN_DIR "/times.ttf", std::ios::binary);
        real_font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(real_font.size(), 4096u);
    }
    const std::string none = "(none)";
    const struct {
        const char *name;
        std::string here, beside; // the fonts in the two folders
        bool draws;
    } rows[] = {
        {"beside the program only", none, real_font, true},
        {"in the working directory only", real_font, none, true},
        {"not a font here, a font beside", "not a font\n", real_font, true},
        {"nowhere", none, none, false},
        {"empty and cut short", "", real_font.substr(0, 4096), false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string here = make_temp_dir(), beside = make_temp_dir();
        char resolved_here[PATH_MAX], resolved_beside[PATH_MAX];
        ASSERT_NE(nullptr, realpath(here.c_str(), resolved_here));
        ASSERT_NE(nullptr, realpath(beside.c_str(), resolved_beside));
        std::string program = beside + "/ulam_spiral_labels";
        {
            std::ifstream in(CAPTURE(ulam_spiral_labels), std::ios::binary);
            std::ofstream(program, std::ios::binary) << in.rdbuf();
        }
        ASSERT_EQ(0, chmod(program.c_str(), 0755));
        if (row.here != none)
            std::ofstream(here + "/times.ttf", std::ios::binary) << row.here;
        if (row.beside != none)
            std::ofstream(beside + "/times.ttf", std::ios::binary) << row.beside;
        RunOptions options;
        options.cwd = here;
        options.timeout_seconds = 30;
        ProgramRun run = run_program(program, options);

        EXPECT_FALSE(run.timed_out);
        std::string picture = here + "/ulam_spiral_labels-1.png";
        if (row.draws) {
            EXPECT_EQ(0, run.status) << run.err;
            EXPECT_PICTURE(shown(), read_png(picture));
        } else {
            EXPECT_EQ(1, run.status) << run.err;
            EXPECT_NE(std::string::npos, run.err.find("times.ttf")) << run.err;
            EXPECT_NE(std::string::npos, run.err.find(std::string(resolved_here) + " (")) << run.err;
            EXPECT_NE(std::string::npos, run.err.find(std::string(resolved_beside) + " (")) << run.err;
            EXPECT_EQ("", run.out);
            EXPECT_NE(0, access(picture.c_str(), F_OK)) << "a picture was saved";
        }
        for (const std::string &file : {picture, here + "/times.ttf", beside + "/times.ttf", program})
            unlink(file.c_str());
        rmdir(here.c_str());
        rmdir(beside.c_str());
    }
}

} // namespace
