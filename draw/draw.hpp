// draw.hpp: the screen of the picture programs and the routines that draw
// on it. One picture of window_width x window_height pixels; x from 0
// rightward, y from 0 downward. A program opens the screen, draws stage by
// stage, and after each stage shows it and waits for a key. Where the
// picture goes (a window, a PNG file per stage, the page's canvas) is the
// build's choice; the program's code is the same.
#pragma once
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

// The window's size, and its centre pixel.
const int window_width = 800, window_height = 600;
const int window_centre_x = window_width / 2, window_centre_y = window_height / 2;

inline bool inside_window(int x, int y)
{
    return x >= 0 && x < window_width && y >= 0 && y < window_height;
}

// A colour as 0xRRGGBB, the value every pixel of the picture holds. Two
// colours are the same exactly when their values are equal.
using Colour = uint32_t;

constexpr Colour map_colour(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<Colour>(red) << 16 | static_cast<Colour>(green) << 8 | blue;
}

// A coordinate computed in extended precision, truncated toward zero to a
// whole pixel as a conversion to int truncates. The conversion would switch
// the x87 unit to truncation and back for every value, which costs far more
// than the arithmetic; the nearest integer, moved one toward zero where it
// lies beyond v, is the same number.
inline int truncate_toward_zero(long double v)
{
    long nearest = std::lrint(v);
    if (v >= 0 ? nearest > v : nearest < v)
        nearest += v >= 0 ? -1 : 1;
    return static_cast<int>(nearest);
}

// Opens the screen for a picture shown in `stage_count` stages. In a window
// build, when no window can be opened (no display, or only a video driver
// that shows nothing), says so in one line on standard error, pointing at
// the gallery, and ends the program with status 3; any other failure of the
// window ends it with status 1.
void open_screen(int stage_count = 1);

// Every pixel of the picture in `colour`.
void clear_screen(Colour colour);

// Shows the next stage: the picture as drawn so far, with its caption, one
// line that says what the stage shows, in the window's title (or beside the
// page's canvas; a capture build keeps it for its record of captions). The
// program's views write the stage on the terminal.
void show_stage(const char *caption);

// Holds the stage shown until a key is pressed (false) or the window is
// asked to close (true); a failing event queue also ends it (true). Other
// events are dropped, but for the mouse's moves: the window's title then
// shows the read-out of the point under it. A capture build saves the
// picture as NAME-k.png instead, k counting the waits, and returns false.
bool wait_key_or_quit();

// What the picture shows at its pixel (x, y), in a few words ("n = 41,
// prime"), or "" where it shows nothing. The program sets it from its own
// tables for the stages it holds; while a stage is held, the window's title
// gives it for the point under the mouse (a page, for the pointer).
using Readout = std::function<std::string(int x, int y)>;
void set_readout(Readout readout);

// The picture's pixels, row after row: pixel (x, y) is word x + y * width.
extern Colour *const screen_pixels;

// One pixel, written or read without a bounds test: the caller keeps (x, y)
// inside the window.
inline void put_pixel(int x, int y, Colour colour)
{
    screen_pixels[x + y * window_width] = colour;
}

inline Colour get_pixel(int x, int y)
{
    return screen_pixels[x + y * window_width];
}

// A segment from (x0, y0) to (x1, y1), both ends drawn, one pixel per step of
// the major axis. The error term starts at 0, so the pixels depend on the
// direction of the segment. No clipping.
void draw_line(int x0, int y0, int x1, int y1, Colour colour);

// The same steps as draw_line, but every minor-axis step is a pixel of its
// own (a 4-connected staircase of a + b + 1 pixels), and pixels outside the
// window are skipped.
void draw_line_clipped(int x0, int y0, int x1, int y1, Colour colour);

// A filled disc of radius r about (cx, cy), traced by the error walk of the
// circle from its bottom point; clipped.
void fill_disc(int cx, int cy, int r, Colour colour);

// The outline of that walk: 8r pixels for r >= 2; clipped.
void draw_circle(int cx, int cy, int r, Colour colour);

// A band of half-width w about the segment: the centre line and, at every
// tenth of a pixel along it, two perpendicular strokes of length w. No
// clipping; single-precision steps as the picture programs were drawn with.
void draw_thick_line(int x0, int y0, int x1, int y1, int w, Colour colour);

// A TrueType font at one size.
struct TextFont;

// Opens the font `file` at `size` points from the working directory, or
// else from beside the program. If neither place has a usable font, names
// both on standard error, each with the reason, and ends the program with
// status 1.
const TextFont *open_font(const char *file, int size);

// Writes `text` in `ink` with the top-left corner of its line box at
// (x, y): only the pixels of the glyphs, as a solid (unsmoothed) rendering
// sets them, clipped at the window.
void draw_text(const TextFont *font, const char *text, int x, int y, Colour ink);
