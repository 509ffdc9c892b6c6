// ulam_spiral_labels, read back from its capture. The expected picture is
// built here: the spiral from its run lengths 1, 1, 2, 2, 3, 3, ..., the
// segments as straight runs of pixels, the dots as 21-pixel discs, and each
// label's glyphs rendered here with SDL_ttf from the same font and pasted at
// the corner that the label's direction gives.
#include "harness.hpp"
#include <SDL_ttf.h>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <unistd.h>
#include <vector>

namespace
{

const uint32_t white = 0xFFFFFF, black = 0x000000;
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

// The 21 pixels of a disc of radius 2: the 5x5 square without its corners.
std::vector<std::pair<int, int>> dot_offsets()
{
    std::vector<std::pair<int, int>> offsets;
    for (int dx = -2; dx <= 2; dx++)
        for (int dy = -2; dy <= 2; dy++)
            if (std::abs(dx) * std::abs(dy) != 4)
                offsets.push_back({dx, dy});
    return offsets;
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

TEST(UlamSpiralLabels, SpiralReferenceEndsAtTheDocumentedPoint)
{
    std::vector<SpiralPoint> points = spiral();
    ASSERT_EQ(73u, points.size());
    EXPECT_EQ(240, points[72].x);
    EXPECT_EQ(460, points[72].y);
    EXPECT_EQ(440, points[1].x);
    EXPECT_EQ(300, points[1].y);
}

// The whole picture: the title, 72 segments, 72 labels and 72 dots.
TEST(UlamSpiralLabels, PictureIsTheWalkTheLabelsAndTheDots)
{
    std::vector<SpiralPoint> points = spiral();
    Picture expected;
    paste(expected, " ULAM", 20, 80);
    for (int k = 1; k <= steps; k++) {
        for (auto p : segment(points, k))
            expected.set(p.first, p.second, black);
        paste(expected, " " + std::to_string(k), points[k].label_x, points[k].label_y);
    }
    for (int j = 0; j < steps; j++)
        for (auto d : dot_offsets())
            expected.set(points[j].x + d.first, points[j].y + d.second, black);
    EXPECT_PICTURE(expected, shown());
}

// The corners given in the description, typed in: every glyph pixel of the
// label pasted there is black in the picture.
TEST(UlamSpiralLabels, LabelsAtTheirCorners)
{
    const struct {
        const char *text;
        int x, y;
    } rows[] = {
        {" ULAM", 20, 80}, {" 1", 428, 297}, {" 2", 440, 247}, {" 3", 388, 235},
        {" 4", 348, 235},  {" 5", 330, 287}, {" 6", 330, 327}, {" 72", 210, 447},
    };
    const Picture &picture = shown();
    for (const auto &row : rows) {
        const Glyphs &g = glyphs(row.text);
        ASSERT_GT(g.count(), 0) << "\"" << row.text << "\" has no ink";
        long missing = 0;
        for (int v = 0; v < g.h; v++)
            for (int u = 0; u < g.w; u++)
                missing += g.ink[u + v * g.w] && picture.at(row.x + u, row.y + v) != black;
        EXPECT_EQ(0, missing) << "\"" << row.text << "\" at (" << row.x << ", " << row.y << ")";
    }
}

// Where nothing is drawn: above the title, right of the spiral, left of it
// below the title, and below it.
TEST(UlamSpiralLabels, EmptyRegionsStayWhite)
{
    const struct {
        const char *name;
        int x0, y0, x1, y1; // x0 <= x < x1, y0 <= y < y1
    } rows[] = {
        {"above the title", 0, 0, 800, 80},
        {"right of the spiral", 600, 0, 800, 600},
        {"left of the spiral", 0, 120, 200, 600},
        {"below the spiral", 0, 480, 800, 600},
    };
    const Picture &picture = shown();
    for (const auto &row : rows) {
        long drawn = 0;
        for (int y = row.y0; y < row.y1; y++)
            for (int x = row.x0; x < row.x1; x++)
                drawn += picture.at(x, y) != white;
        EXPECT_EQ(0, drawn) << row.name;
    }
}

// A dot on every point from 0 to 71, none on 72: at (240, 460) the pixels of
// a dot off the segment and off every label stay white.
TEST(UlamSpiralLabels, DotsOnEveryPointButTheLast)
{
    std::vector<SpiralPoint> points = spiral();
    const Picture &picture = shown();
    for (int j = 0; j < steps; j++)
        for (auto d : dot_offsets())
            ASSERT_EQ(black, picture.at(points[j].x + d.first, points[j].y + d.second))
                << "dot of point " << j;

    Picture text;
    for (int k = 1; k <= steps; k++)
        paste(text, " " + std::to_string(k), points[k].label_x, points[k].label_y);
    int free_pixels = 0;
    for (auto d : dot_offsets()) {
        int x = 240 + d.first, y = 460 + d.second;
        if (d.first == 0 || text.at(x, y) == black)
            continue;
        free_pixels++;
        EXPECT_EQ(white, picture.at(x, y)) << "pixel (" << x << ", " << y << ") of a dot on point 72";
    }
    EXPECT_GT(free_pixels, 8);
}

// Every step is a 41-pixel segment from one point to the next.
TEST(UlamSpiralLabels, SegmentsJoinConsecutivePoints)
{
    std::vector<SpiralPoint> points = spiral();
    const Picture &picture = shown();
    for (int k = 1; k <= steps; k++)
        for (auto p : segment(points, k))
            ASSERT_EQ(black, picture.at(p.first, p.second)) << "segment " << k;
}

// Without a usable times.ttf in the working directory both builds of the
// program say which file failed and where, and end with a non-zero status,
// not a signal, before showing anything.
TEST(UlamSpiralLabels, UnusableFontIsReported)
{
    std::string real_font;
    {
        std::ifstream in(SUITE_BIN_DIR "/times.ttf", std::ios::binary);
        real_font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(real_font.size(), 4096u);
    }
    const struct {
        const char *name;
        bool present;
        std::string content;
    } fonts[] = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"text", true, "this is not a TrueType font\n"},
        {"truncated", true, real_font.substr(0, 4096)},
    };
    const struct {
        const char *name;
        std::string path;
    } builds[] = {{"program", PROGRAM(ulam_spiral_labels)}, {"capture", CAPTURE(ulam_spiral_labels)}};

    for (const auto &font : fonts)
        for (const auto &build : builds) {
            SCOPED_TRACE(std::string(font.name) + " font, " + build.name);
            std::string dir = make_temp_dir();
            char resolved[PATH_MAX];
            ASSERT_NE(nullptr, realpath(dir.c_str(), resolved));
            if (font.present)
                std::ofstream(dir + "/times.ttf", std::ios::binary) << font.content;
            RunOptions options;
            options.cwd = dir;
            options.env = {"SDL_VIDEODRIVER=dummy"};
            options.timeout_seconds = 30;
            ProgramRun run = run_program(build.path, options);

            EXPECT_FALSE(run.timed_out);
            EXPECT_NE(0, run.status);
            EXPECT_LT(run.status, 128) << "ended by a signal:\n" << run.err;
            EXPECT_NE(std::string::npos, run.err.find("times.ttf")) << run.err;
            EXPECT_NE(std::string::npos, run.err.find(resolved)) << run.err;
            EXPECT_EQ("", run.out);

            // Nothing but the font is left in the directory: no picture.
            DIR *listing = opendir(dir.c_str());
            ASSERT_NE(nullptr, listing);
            while (dirent *entry = readdir(listing)) {
                std::string file = entry->d_name;
                if (file == "." || file == "..")
                    continue;
                EXPECT_EQ("times.ttf", file) << "left behind";
                unlink((dir + "/" + file).c_str());
            }
            closedir(listing);
            rmdir(dir.c_str());
        }
}

} // namespace
