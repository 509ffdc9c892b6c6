// The SDL calls of the picture programs, for the web edition: surfaces in
// plain memory (32 bits a pixel, or 8 with a palette), colours mapped as
// SDL 1.2 maps them, a rectangle fill and a blit with a colour key. The
// runtime's own SDL draws through canvas operations and would never see the
// pixels that the programs write straight into `pixels`.
#include <SDL.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The colour key of a surface, which SDL 1.2 keeps in the pixel format.
struct SDL_BlitMap {
    Uint32 colour_key;
};

static char error_text[512];

void SDL_SetError(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(error_text, sizeof error_text, format, args);
    va_end(args);
}

const char *SDL_GetError(void)
{
    return error_text;
}

// A channel's place in a pixel: its lowest bit, and how many of its 8 bits
// the mask drops.
static void channel(Uint32 mask, Uint8 &shift, Uint8 &loss)
{
    shift = 0;
    loss = 8;
    if (mask == 0)
        return;
    while (((mask >> shift) & 1) == 0)
        shift++;
    int bits = 0;
    while (((mask >> (shift + bits)) & 1) != 0 && shift + bits < 32)
        bits++;
    loss = bits >= 8 ? 0 : 8 - bits;
}

SDL_Surface *SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 Rmask, Uint32 Gmask,
                                  Uint32 Bmask, Uint32 Amask)
{
    if ((depth != 8 && depth != 32) || width < 0 || height < 0) {
        SDL_SetError("only 8- and 32-bit surfaces are drawn here, not %d-bit ones", depth);
        return nullptr;
    }
    SDL_Surface *s = static_cast<SDL_Surface *>(calloc(1, sizeof(SDL_Surface)));
    SDL_PixelFormat *f = static_cast<SDL_PixelFormat *>(calloc(1, sizeof(SDL_PixelFormat)));
    SDL_BlitMap *map = static_cast<SDL_BlitMap *>(calloc(1, sizeof(SDL_BlitMap)));
    int pitch = depth == 8 ? (width + 3) & ~3 : 4 * width;
    void *pixels = calloc(static_cast<size_t>(pitch) * height + 1, 1);
    SDL_Palette *palette = nullptr;
    if (depth == 8) {
        palette = static_cast<SDL_Palette *>(calloc(1, sizeof(SDL_Palette)));
        SDL_Color *colours = static_cast<SDL_Color *>(calloc(256, sizeof(SDL_Color)));
        if (palette != nullptr && colours != nullptr) {
            palette->ncolors = 256;
            palette->colors = colours;
        } else {
            free(colours);
            free(palette);
            palette = nullptr;
        }
    }
    if (s == nullptr || f == nullptr || map == nullptr || pixels == nullptr || (depth == 8 && palette == nullptr)) {
        free(s);
        free(f);
        free(map);
        free(pixels);
        SDL_SetError("out of memory for a %dx%d surface", width, height);
        return nullptr;
    }
    f->BitsPerPixel = static_cast<Uint8>(depth);
    f->BytesPerPixel = static_cast<Uint8>(depth / 8);
    f->palette = palette;
    if (depth == 32) {
        f->Rmask = Rmask;
        f->Gmask = Gmask;
        f->Bmask = Bmask;
        f->Amask = Amask;
        channel(Rmask, f->Rshift, f->Rloss);
        channel(Gmask, f->Gshift, f->Gloss);
        channel(Bmask, f->Bshift, f->Bloss);
        channel(Amask, f->Ashift, f->Aloss);
    }
    s->flags = flags & ~SDL_SRCCOLORKEY;
    s->format = f;
    s->w = width;
    s->h = height;
    s->pitch = pitch;
    s->pixels = pixels;
    s->clip_rect = {0, 0, width, height};
    s->map = map;
    s->refcount = 1;
    return s;
}

void SDL_FreeSurface(SDL_Surface *s)
{
    if (s == nullptr || --s->refcount > 0)
        return;
    if (s->format->palette != nullptr)
        free(s->format->palette->colors);
    free(s->format->palette);
    free(s->format);
    free(s->map);
    free(s->pixels);
    free(s);
}

int SDL_SetColors(SDL_Surface *s, const SDL_Color *colours, int first, int count)
{
    SDL_Palette *palette = s->format->palette;
    if (palette == nullptr || first < 0 || first + count > palette->ncolors)
        return 0;
    memcpy(palette->colors + first, colours, count * sizeof(SDL_Color));
    return 1;
}

int SDL_SetColorKey(SDL_Surface *s, int flag, Uint32 key)
{
    if (flag & SDL_SRCCOLORKEY) {
        s->flags |= SDL_SRCCOLORKEY;
        s->map->colour_key = key;
    } else {
        s->flags &= ~SDL_SRCCOLORKEY;
    }
    return 0;
}

// SDL 1.2's mapping: each component loses its low bits and moves into its
// mask, the alpha mask is set in full (opaque); on a palette, the nearest
// entry, the first of equals.
Uint32 SDL_MapRGB(const SDL_PixelFormat *f, Uint8 r, Uint8 g, Uint8 b)
{
    if (f->palette == nullptr)
        return static_cast<Uint32>(r >> f->Rloss) << f->Rshift | static_cast<Uint32>(g >> f->Gloss) << f->Gshift |
               static_cast<Uint32>(b >> f->Bloss) << f->Bshift | f->Amask;
    Uint32 best = 0;
    long best_distance = -1;
    for (int i = 0; i < f->palette->ncolors; i++) {
        const SDL_Color &c = f->palette->colors[i];
        long dr = c.r - r, dg = c.g - g, db = c.b - b;
        long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

static Uint32 *row32(SDL_Surface *s, int y)
{
    return reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch);
}

// Both rectangles clipped to the clip rectangle of the surface: false when
// nothing is left.
static bool clip(SDL_Rect &r, const SDL_Rect &to)
{
    int x0 = r.x > to.x ? r.x : to.x, y0 = r.y > to.y ? r.y : to.y;
    int x1 = r.x + r.w < to.x + to.w ? r.x + r.w : to.x + to.w;
    int y1 = r.y + r.h < to.y + to.h ? r.y + r.h : to.y + to.h;
    r = {x0, y0, x1 - x0, y1 - y0};
    return r.w > 0 && r.h > 0;
}

int SDL_FillRect(SDL_Surface *dst, const SDL_Rect *rect, Uint32 colour)
{
    SDL_Rect r = rect ? *rect : SDL_Rect{0, 0, dst->w, dst->h};
    if (!clip(r, dst->clip_rect))
        return 0;
    for (int y = r.y; y < r.y + r.h; y++) {
        if (dst->format->BytesPerPixel == 4) {
            Uint32 *row = row32(dst, y);
            for (int x = r.x; x < r.x + r.w; x++)
                row[x] = colour;
        } else {
            memset(static_cast<Uint8 *>(dst->pixels) + y * dst->pitch + r.x, static_cast<int>(colour), r.w);
        }
    }
    return 0;
}

// The pixel value of the source's (x, y) in the destination's format, or
// false for a pixel of the colour key.
static bool source_pixel(SDL_Surface *src, int x, int y, const SDL_PixelFormat *to, Uint32 &value)
{
    const SDL_PixelFormat *f = src->format;
    Uint32 raw = f->BytesPerPixel == 1 ? static_cast<Uint8 *>(src->pixels)[y * src->pitch + x] : row32(src, y)[x];
    if ((src->flags & SDL_SRCCOLORKEY) && raw == src->map->colour_key)
        return false;
    Uint8 r, g, b;
    if (f->palette != nullptr) {
        const SDL_Color &c = f->palette->colors[raw];
        r = c.r, g = c.g, b = c.b;
    } else {
        // Widen each component back to 8 bits as SDL does, repeating its top bits.
        Uint32 v = (raw & f->Rmask) >> f->Rshift << f->Rloss;
        r = static_cast<Uint8>(v | v >> (8 - f->Rloss));
        v = (raw & f->Gmask) >> f->Gshift << f->Gloss;
        g = static_cast<Uint8>(v | v >> (8 - f->Gloss));
        v = (raw & f->Bmask) >> f->Bshift << f->Bloss;
        b = static_cast<Uint8>(v | v >> (8 - f->Bloss));
    }
    value = SDL_MapRGB(to, r, g, b);
    return true;
}

// SDL 1.2's blit: the source rectangle (the whole source when none) is
// clipped to the source, placed with its corner at dstrect's x and y, and
// clipped to the destination's clip rectangle; dstrect receives the
// rectangle actually drawn. Pixels of the colour key are left out; there is
// no blending. The destination must have 32 bits a pixel.
int SDL_UpperBlit(SDL_Surface *src, const SDL_Rect *srcrect, SDL_Surface *dst, SDL_Rect *dstrect)
{
    if (dst->format->BytesPerPixel != 4) {
        SDL_SetError("blits go onto 32-bit surfaces only");
        return -1;
    }
    SDL_Rect s = srcrect ? *srcrect : SDL_Rect{0, 0, src->w, src->h};
    int dx = dstrect ? dstrect->x : 0, dy = dstrect ? dstrect->y : 0;
    SDL_Rect source_bounds = {0, 0, src->w, src->h};
    SDL_Rect clipped = s;
    bool any = clip(clipped, source_bounds);
    dx += clipped.x - s.x;
    dy += clipped.y - s.y;
    SDL_Rect d = {dx, dy, clipped.w, clipped.h};
    if (any)
        any = clip(d, dst->clip_rect);
    if (!any) {
        if (dstrect) {
            dstrect->w = 0;
            dstrect->h = 0;
        }
        return 0;
    }
    int sx = clipped.x + (d.x - dx), sy = clipped.y + (d.y - dy);
    for (int y = 0; y < d.h; y++) {
        Uint32 *row = row32(dst, d.y + y);
        for (int x = 0; x < d.w; x++) {
            Uint32 value;
            if (source_pixel(src, sx + x, sy + y, dst->format, value))
                row[d.x + x] = value;
        }
    }
    if (dstrect)
        *dstrect = d;
    return 0;
}
