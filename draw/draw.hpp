// draw.hpp: the window and the raster routines of the picture programs.
// One 800x600, 32-bit surface; x from 0 to 799 rightward, y from 0 to 599
// downward. Colours are values made by SDL_MapRGB on screen->format.
#pragma once
#include <SDL.h>

// The surface every routine draws into. Its content persists across
// flip_screen(), so a later stage draws over the earlier ones and can read
// them back with get_pixel.
extern SDL_Surface *screen;

// Opens the 800x600, 32-bit window (video only, hardware surface, double
// buffered), titled with the program's name, for a picture shown in
// `stage_count` stages. If SDL cannot give one, says why on standard error
// and ends the program with status 1.
void open_screen(int stage_count = 1);

// Shows everything drawn so far (SDL_Flip).
void flip_screen();

// Shows the next stage: flips, titles the window "NAME: stage k of N:
// caption" and writes "stage k of N: caption" on standard output. The
// caption (printf format and arguments) says in one line what the stage
// shows.
void show_stage(const char *caption_format, ...) __attribute__((format(printf, 1, 2)));

// Blocks until a key is pressed (false) or the window is asked to close
// (true); a failing event queue also ends it (true). Other events are
// dropped. In a capture build it saves the screen as <program>-<k>.png
// instead, k counting the waits, and returns false.
bool wait_key_or_quit();

// Writes the screen to a PNG file: an 8-bit palette image when it has at
// most 256 colours, else 8-bit RGB; the same colour at every pixel either
// way. False if the file cannot be written.
bool save_screen_png(const char *path);

// One pixel, written or read without a bounds test: the caller keeps (x, y)
// inside the window.
inline void put_pixel(int x, int y, Uint32 colour)
{
    static_cast<Uint32 *>(screen->pixels)[x + y * (screen->pitch / 4)] = colour;
}

inline Uint32 get_pixel(int x, int y)
{
    return static_cast<Uint32 *>(screen->pixels)[x + y * (screen->pitch / 4)];
}

// A segment from (x0, y0) to (x1, y1), both ends drawn, one pixel per step of
// the major axis. The error term starts at 0, so the pixels depend on the
// direction of the segment. No clipping.
void draw_line(int x0, int y0, int x1, int y1, Uint32 colour);

// The same steps as draw_line, but every minor-axis step is a pixel of its
// own (a 4-connected staircase of a + b + 1 pixels), and pixels outside the
// window are skipped.
void draw_line_clipped(int x0, int y0, int x1, int y1, Uint32 colour);

// A filled disc of radius r about (cx, cy), traced by the error walk of the
// circle from its bottom point; clipped.
void fill_disc(int cx, int cy, int r, Uint32 colour);

// The outline of that walk: 8r pixels for r >= 2; clipped.
void draw_circle(int cx, int cy, int r, Uint32 colour);

// A band of half-width w about the segment: the centre line and, at every
// tenth of a pixel along it, two perpendicular strokes of length w. No
// clipping; single-precision steps as the picture programs were drawn with.
void draw_thick_line(int x0, int y0, int x1, int y1, int w, Uint32 colour);
