// The picture in a window, through SDL 1.2: each stage copies the picture
// into the window's surface and flips it, and the wait reads SDL's events.
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "draw/stages.hpp"
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <string>

// The surface SDL shows, and the picture seen as a surface of SDL's, which
// is blitted onto it: a page-flipped surface, one that must be locked, or
// one of another pixel format all get the same picture.
static SDL_Surface *display, *picture;

// SDL 2 falls back to drivers that open no window at all when no window
// system answers: "offscreen" (an unreachable X display makes it the
// choice), "dummy" and "evdev". A picture nobody can see would wait for a
// key forever, so the program says why it has no window and that the
// gallery draws its pictures without one, and ends as the launcher's own
// refusal does, with status 3.
static void refuse_windowless_driver(bool named)
{
    char driver[64];
    if (SDL_VideoDriverName(driver, sizeof driver) == nullptr)
        return;
    std::string chosen = driver;
    if (chosen != "offscreen" && chosen != "dummy" && chosen != "evdev")
        return;
    const char *name = program_name, *gallery = "to get the pictures as PNG files, run: ./demo gallery DIR";
    const char *x11 = getenv("DISPLAY"), *wayland = getenv("WAYLAND_DISPLAY");
    bool has_x11 = x11 && *x11, has_wayland = wayland && *wayland;
    if (named)
        fprintf(stderr, "%s: no window: SDL_VIDEODRIVER chooses SDL's \"%s\" driver, which shows nothing; %s\n",
                name, driver, gallery);
    else if (has_x11 && has_wayland)
        fprintf(stderr,
                "%s: no window: the display \"%s\" and the Wayland display \"%s\" cannot be reached, and SDL's "
                "only other choice, its \"%s\" driver, shows nothing; %s\n",
                name, x11, wayland, driver, gallery);
    else if (has_x11)
        fprintf(stderr,
                "%s: no window: the display \"%s\" cannot be reached, and SDL's only other choice, its \"%s\" "
                "driver, shows nothing; %s\n",
                name, x11, driver, gallery);
    else if (has_wayland)
        fprintf(stderr,
                "%s: no window: the Wayland display \"%s\" cannot be reached, and SDL's only other choice, its "
                "\"%s\" driver, shows nothing; %s\n",
                name, wayland, driver, gallery);
    else
        fprintf(stderr,
                "%s: no window: no display is set (neither DISPLAY nor WAYLAND_DISPLAY), and SDL's only other "
                "choice, its \"%s\" driver, shows nothing; %s\n",
                name, driver, gallery);
    exit(3);
}

void open_screen(int stage_count)
{
    stage_record.count = stage_count;
    const char *name = program_name;
    // SDL would turn SIGINT and SIGTERM into a quit request, which only moves
    // the picture to its next stage. Without its handlers Ctrl-C and kill end
    // the program at once, with the status of the signal; a quit request then
    // comes only from the window itself.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    const char *requested = getenv("SDL_VIDEODRIVER");

    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        fprintf(stderr, "%s: cannot start SDL video: %s\n", name, SDL_GetError());
        exit(1);
    }
    atexit(SDL_Quit);
    refuse_windowless_driver(requested != nullptr && *requested != '\0');
    display = SDL_SetVideoMode(window_width, window_height, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    picture = SDL_CreateRGBSurfaceFrom(screen_pixels, window_width, window_height, 32, 4 * window_width,
                                       map_colour(255, 0, 0), map_colour(0, 255, 0), map_colour(0, 0, 255), 0);
    if (display == nullptr || picture == nullptr) {
        fprintf(stderr, "%s: cannot open a %dx%d 32-bit window: %s\n", name, window_width, window_height,
                SDL_GetError());
        exit(1);
    }
    SDL_WM_SetCaption(name, name);
}

// The window's title: the stage and its caption, and after a bar the
// read-out of the point under the mouse, when there is one.
static void set_title(const std::string &readout)
{
    std::string title = std::string(program_name) + ": stage " + std::to_string(stage_record.shown) + " of " +
                        std::to_string(stage_record.count) + ": " + stage_record.caption;
    if (!readout.empty())
        title += " | " + readout;
    SDL_WM_SetCaption(title.c_str(), program_name);
}

void show_stage(const char *caption)
{
    record_stage(caption);
    set_title("");
    SDL_BlitSurface(picture, nullptr, display, nullptr);
    SDL_Flip(display);
}

bool wait_key_or_quit()
{
    SDL_Event event;
    std::string shown; // the read-out in the title
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
        // The mouse over the picture, or gone from the window.
        std::string readout = shown;
        if (event.type == SDL_MOUSEMOTION)
            readout = readout_at(event.motion.x, event.motion.y);
        else if (event.type == SDL_ACTIVEEVENT && (event.active.state & SDL_APPMOUSEFOCUS) && !event.active.gain)
            readout.clear();
        if (readout != shown)
            set_title(shown = readout);
    }
}
