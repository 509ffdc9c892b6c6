// The floor under every picture program's time: start SDL with the dummy
// driver, open the 800x600 window, fill it with white, flip, and save that
// one stage as a capture variant does at its wait. Whatever a picture
// program takes beyond this is its own drawing.
#include "arith/identity.hpp"
#include "draw/draw.hpp"

const char program_name[] = "window_floor";
const char program_description[] = "The least a picture program costs: open, fill, flip, save";
const char program_example[] = "";

int main(int, char **)
{
    open_screen();
    Uint32 white = SDL_MapRGB(screen->format, 255, 255, 255);
    SDL_FillRect(screen, nullptr, white);
    flip_screen();
    wait_key_or_quit();
    return 0;
}
