// The floor under every picture program's time. Built twice: window_floor
// goes through the capture build of the drawing toolkit (open the screen,
// fill it, save the one stage as a capture variant does at its wait: the
// floor of a picture program run as in the gallery); bare_floor is SDL alone,
// with no toolkit (start SDL's video, open the window, fill it and
// flip: the floor of a picture program in a window, timed with the dummy
// driver). Whatever a picture program takes beyond these is its own drawing.
#ifdef SAVE_STAGE
#include "console/identity.hpp"
#include "draw/draw.hpp"

const char program_name[] = "window_floor";
const char program_description[] = "The least a picture program costs: open, fill, save";
const char program_example[] = "";

int main(int, char **)
{
    open_screen();
    clear_screen(map_colour(255, 255, 255));
    wait_key_or_quit();
    return 0;
}
#else
#include "draw/draw.hpp"
#include <SDL.h>

int main(int, char **)
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        return 1;
    SDL_Surface *screen = SDL_SetVideoMode(window_width, window_height, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (screen == nullptr)
        return 1;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
    SDL_Flip(screen);
    SDL_Quit();
    return 0;
}
#endif
