// Writes the screen as an 8-bit RGB PNG, through libpng.
#include "draw/draw.hpp"
#include <cstdio>
#include <png.h>
#include <vector>

bool save_screen_png(const char *path)
{
    FILE *file = fopen(path, "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(3 * screen->w);
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, screen->w, screen->h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < screen->h; y++) {
            for (int x = 0; x < screen->w; x++)
                SDL_GetRGB(get_pixel(x, y), screen->format, &row[3 * x], &row[3 * x + 1], &row[3 * x + 2]);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return fclose(file) == 0 && written;
}
