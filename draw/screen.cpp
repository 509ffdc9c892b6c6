// The window, the flip and the wait. Built twice: for the programs, and with
// CAPTURE_STAGES for their headless capture variants, which need no display
// and save each stage as a PNG where a user would press a key.
#include "draw/draw.hpp"
#include "console/identity.hpp"
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

SDL_Surface *screen;

// The surface SDL shows. When SDL grants a true page-flipped surface (the
// picture would alternate between two buffers) or one that must be locked
// for pixel access, the programs draw into a plain memory copy of it,
// `screen`, which is copied to the display at every flip.
static SDL_Surface *display;

// The stages of the picture: how many there are, and the last one shown with
// its caption.
static int stages = 1, stage_shown = 0;
static char stage_caption[256];

// SDL 2 falls back to drivers that open no window at all when no window
// system answers: "offscreen" (an unreachable X display makes it the
// choice) and "dummy" or "evdev". A picture nobody can see would wait for a
// key forever, so unless the driver was chosen on purpose the program says
// which display it could not use and ends.
static void refuse_windowless_driver(const char *name)
{
    char driver[64];
    if (SDL_VideoDriverName(driver, sizeof driver) == nullptr)
        return;
    std::string chosen = driver;
    if (chosen != "offscreen" && chosen != "dummy" && chosen != "evdev")
        return;
    const char *x11 = getenv("DISPLAY"), *wayland = getenv("WAYLAND_DISPLAY");
    std::string displays;
    if (x11 && *x11)
        displays = std::string("the display \"") + x11 + "\"";
    if (wayland && *wayland)
        displays += std::string(displays.empty() ? "" : " and ") + "the Wayland display \"" + wayland + "\"";
    std::string why = displays.empty() ? "no display is set (neither DISPLAY nor WAYLAND_DISPLAY)"
                                       : displays + " cannot be reached";
    fprintf(stderr, "%s: no window: %s, and SDL's only other choice, its \"%s\" driver, shows nothing\n", name,
            why.c_str(), driver);
    exit(1);
}

void open_screen(int stage_count)
{
    stages = stage_count;
    const char *name = program_name;
#ifdef CAPTURE_STAGES
    setenv("SDL_VIDEODRIVER", "dummy", 1);
#endif
    // SDL would turn SIGINT and SIGTERM into a quit request, which only moves
    // the picture to its next stage. Without its handlers Ctrl-C and kill end
    // the program at once, with the status of the signal; a quit request then
    // comes only from the window itself.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    const char *requested = getenv("SDL_VIDEODRIVER");
    bool driver_named = requested != nullptr && *requested != '\0';

    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "%s: cannot start SDL video: %s\n", name, SDL_GetError());
        exit(1);
    }
    atexit(SDL_Quit);
    if (!driver_named)
        refuse_windowless_driver(name);
    display = SDL_SetVideoMode(800, 600, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (display == nullptr) {
        fprintf(stderr, "%s: cannot open an 800x600 32-bit window: %s\n", name, SDL_GetError());
        exit(1);
    }
    SDL_WM_SetCaption(name, name);

    bool flipped = (display->flags & (SDL_HWSURFACE | SDL_DOUBLEBUF)) == (SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (flipped || SDL_MUSTLOCK(display)) {
        const SDL_PixelFormat *f = display->format;
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 32, f->Rmask, f->Gmask, f->Bmask, f->Amask);
        if (screen == nullptr) {
            fprintf(stderr, "%s: cannot allocate the picture: %s\n", name, SDL_GetError());
            exit(1);
        }
    } else {
        screen = display;
    }
}

void flip_screen()
{
    if (screen != display)
        SDL_BlitSurface(screen, nullptr, display, nullptr);
    SDL_Flip(display);
}

void show_stage(const char *caption_format, ...)
{
    char *caption = stage_caption, title[400];
    va_list args;
    va_start(args, caption_format);
    vsnprintf(caption, sizeof stage_caption, caption_format, args);
    va_end(args);
    stage_shown++;
    snprintf(title, sizeof title, "%s: stage %d of %d: %s", program_name, stage_shown, stages, caption);
    SDL_WM_SetCaption(title, program_name);
    flip_screen();
    printf("stage %d of %d: %s\n", stage_shown, stages, caption);
    fflush(stdout);
}

#ifdef CAPTURE_STAGES

// The k-th wait saves the picture as NAME-k.png. When SUITE_CAPTURE_CAPTIONS
// names a file, a line "NAME-k.png<tab>stage j of N: caption" is added to it:
// which stage each picture holds (a stage shown without a wait has none).
bool wait_key_or_quit()
{
    static int stage = 0;
    char path[256];
    snprintf(path, sizeof path, "%s-%d.png", program_name, ++stage);
    if (!save_screen_png(path)) {
        fprintf(stderr, "%s: cannot write %s\n", program_name, path);
        exit(1);
    }
    const char *captions = getenv("SUITE_CAPTURE_CAPTIONS");
    if (captions != nullptr && *captions != '\0') {
        FILE *file = fopen(captions, "a");
        if (file == nullptr ||
            fprintf(file, "%s\tstage %d of %d: %s\n", path, stage_shown, stages, stage_caption) < 0 ||
            fclose(file) != 0) {
            fprintf(stderr, "%s: cannot write the caption of %s into %s\n", program_name, path, captions);
            exit(1);
        }
    }
    return false;
}

#else

bool wait_key_or_quit()
{
    SDL_Event event;
    for (;;) {
        // An error from the event queue ends the wait as a quit request would;
        // the record is then unwritten. SDL 1.2 reports the error as 0, its
        // layer over SDL 2 as -1: only 1 means an event was read.
        if (SDL_WaitEvent(&event) != 1)
            return true;
        if (event.type == SDL_KEYDOWN)
            return false;
        if (event.type == SDL_QUIT)
            return true;
    }
}

#endif
