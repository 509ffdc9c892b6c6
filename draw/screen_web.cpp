// The window of the web edition is the page's 800x600 canvas. The programs
// draw into `screen`, a 32-bit surface in plain memory whose bytes are in
// the canvas's order (red, green, blue, alpha), and every flip copies it
// whole to the canvas. A stage's wait hands control back to the page until
// a key, a click on the picture or "Next stage" answers it.
#include "draw/draw.hpp"
#include "console/identity.hpp"
#include "console/page_web.hpp"
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <emscripten.h>

SDL_Surface *screen;

// The stages of the picture: how many there are, and the last one shown.
static int stages = 1, stage_shown = 0;

EM_JS(void, page_show_picture, (const void *pixels, int width, int height), {
    Module.suiteShowPicture(HEAPU8.subarray(pixels, pixels + 4 * width * height), width, height);
});

EM_JS(void, page_show_stage, (int shown, int count, const char *caption), {
    Module.suiteShowStage(shown, count, UTF8ToString(caption));
});

void open_screen(int stage_count)
{
    stages = stage_count;
    // Little-endian words with red in the low byte: the canvas's byte order.
    // The alpha mask makes every mapped colour opaque.
    screen = SDL_CreateRGBSurface(0, 800, 600, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (screen == nullptr) {
        fprintf(stderr, "%s: cannot allocate the picture: %s\n", program_name, SDL_GetError());
        exit(1);
    }
}

void flip_screen()
{
    page_show_picture(screen->pixels, screen->w, screen->h);
}

void show_stage(const char *caption_format, ...)
{
    char caption[256];
    va_list args;
    va_start(args, caption_format);
    vsnprintf(caption, sizeof caption, caption_format, args);
    va_end(args);
    stage_shown++;
    flip_screen();
    page_show_stage(stage_shown, stages, caption);
    printf("stage %d of %d: %s\n", stage_shown, stages, caption);
    fflush(stdout);
    // Lets the page paint the stage before the program draws on, also when
    // no wait follows.
    emscripten_sleep(0);
}

bool wait_key_or_quit()
{
    page_wait(page_wait_stage);
    return false;
}
