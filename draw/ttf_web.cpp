// SDL_ttf in the web edition: the font is the one the native run opened, and
// each text comes back as the 8-bit surface that the native
// TTF_RenderText_Solid made for it (entry 0 the background, transparent in a
// blit; entry 1 the glyphs). A text that was not recorded cannot be rendered.
#include "draw/ttf_web.hpp"
#include <SDL_ttf.h>
#include <cstring>
#include <string>

struct _TTF_Font {
    int size;
};

int TTF_Init(void)
{
    return 0;
}

void TTF_Quit(void) {}

TTF_Font *TTF_OpenFont(const char *file, int size)
{
    const char *slash = strrchr(file, '/');
    const char *name = slash ? slash + 1 : file;
    if (strcmp(name, recorded_font.file) != 0 || size != recorded_font.size) {
        SDL_SetError("this page holds the texts of %s at %d points only", recorded_font.file, recorded_font.size);
        return nullptr;
    }
    return new TTF_Font{size};
}

void TTF_CloseFont(TTF_Font *font)
{
    delete font;
}

SDL_Surface *TTF_RenderText_Solid(TTF_Font *, const char *text, SDL_Color ink)
{
    for (int i = 0; i < recorded_text_count; i++) {
        const RecordedText &r = recorded_texts[i];
        if (strcmp(r.text, text) != 0 || r.ink.r != ink.r || r.ink.g != ink.g || r.ink.b != ink.b)
            continue;
        SDL_Surface *surface = SDL_CreateRGBSurface(0, r.width, r.height, 8, 0, 0, 0, 0);
        if (surface == nullptr)
            return nullptr;
        SDL_Color palette[2] = {r.paper, r.ink};
        SDL_SetColors(surface, palette, 0, 2);
        if (r.keyed)
            SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
        for (int y = 0; y < r.height; y++)
            for (int x = 0; x < r.width; x++) {
                int k = y * r.width + x;
                static_cast<Uint8 *>(surface->pixels)[y * surface->pitch + x] = (r.bits[k / 8] >> (7 - k % 8)) & 1;
            }
        return surface;
    }
    SDL_SetError("\"%s\" was not rendered when this page was built", text);
    return nullptr;
}
