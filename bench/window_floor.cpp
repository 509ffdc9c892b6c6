// The floor under every picture program's time: start SDL, open the 800x600
// window, fill it with white and flip. Built twice: window_floor also saves
// that one stage as a capture variant does at its wait (the floor of a
// picture program run as in the gallery), bare_floor saves nothing and ends
// at once (the floor of a picture program in a window, shown with the dummy
// driver). Whatever a picture program takes beyond this is its own drawing.
#include "console/identity.hpp"
#include "draw/draw.hpp"

const char program_name[] = "window_floor";
const char program_description[] = "The least a picture program costs: open, fill, flip";
const char program_example[] = "";

int main(int, char **)
{
    open_screen();
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    SDL_FillRect(screen, nullptr, white);
    flip_screen();
#ifdef SAVE_STAGE
    wait_key_or_quit();
#endif
    return 0;
}
