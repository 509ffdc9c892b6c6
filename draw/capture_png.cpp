// Writes the screen as a PNG, through libpng. The pictures have a handful of
// colours, so the file is an 8-bit palette image: each pixel value of the
// surface is looked up once in a small table of the colours met so far, and
// only the palette goes through SDL_GetRGB. Rows are stored unfiltered at
// zlib's fastest level, which costs far less than the compression saves on
// such pictures. A surface of more than 256 colours is written as 8-bit RGB.
#include "draw/draw.hpp"
#include <cstdio>
#include <png.h>
#include <vector>

// The colours of the picture in the order they were met, and a hash table of
// 1024 slots from pixel value to palette index.
class Palette
{
  public:
    // The index of `value`, added if new; -1 once a 257th colour turns up.
    int index(Uint32 value)
    {
        unsigned slot = (value * 2654435761u) >> 22;
        while (used[slot]) {
            if (values[slot] == value)
                return indices[slot];
            slot = (slot + 1) & 1023;
        }
        if (colours.size() == 256)
            return -1;
        used[slot] = true;
        values[slot] = value;
        indices[slot] = static_cast<int>(colours.size());
        colours.push_back(value);
        return indices[slot];
    }
    std::vector<Uint32> colours;

  private:
    bool used[1024] = {};
    Uint32 values[1024];
    int indices[1024];
};

// Each pixel of the screen as an index into the palette; false when the
// picture has more than 256 colours.
static bool index_pixels(Palette &palette, std::vector<png_byte> &indexed)
{
    Uint32 last = get_pixel(0, 0);
    int last_index = palette.index(last);
    for (int y = 0; y < screen->h; y++)
        for (int x = 0; x < screen->w; x++) {
            Uint32 value = get_pixel(x, y);
            if (value != last) {
                last = value;
                last_index = palette.index(value);
                if (last_index < 0)
                    return false;
            }
            indexed[x + y * screen->w] = static_cast<png_byte>(last_index);
        }
    return true;
}

// Encodes the rows: one byte per pixel with the palette, or three without.
// libpng reports an error by a jump back to the setjmp here.
static bool encode(FILE *file, int w, int h, const std::vector<png_color> &palette, const png_byte *pixels)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, w, h, 8, palette.empty() ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    size_t row_bytes = (palette.empty() ? 3 : 1) * static_cast<size_t>(w);
    for (int y = 0; y < h; y++)
        png_write_row(png, pixels + y * row_bytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool save_screen_png(const char *path)
{
    const int w = screen->w, h = screen->h;
    Palette colours;
    std::vector<png_byte> pixels(static_cast<size_t>(w) * h);
    std::vector<png_color> palette;
    if (index_pixels(colours, pixels)) {
        palette.resize(colours.colours.size());
        for (size_t i = 0; i < palette.size(); i++)
            SDL_GetRGB(colours.colours[i], screen->format, &palette[i].red, &palette[i].green, &palette[i].blue);
    } else {
        pixels.resize(3 * pixels.size());
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                png_byte *rgb = &pixels[3 * (x + static_cast<size_t>(y) * w)];
                SDL_GetRGB(get_pixel(x, y), screen->format, &rgb[0], &rgb[1], &rgb[2]);
            }
    }
    FILE *file = fopen(path, "wb");
    if (file == nullptr)
        return false;
    bool encoded = encode(file, w, h, palette, pixels.data());
    return fclose(file) == 0 && encoded;
}
