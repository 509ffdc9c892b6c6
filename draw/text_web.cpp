// Text in the web edition: the font is the one the native run opened, and
// each text is drawn from the glyph pixels that the native run recorded for
// it. A text that was not recorded cannot be drawn.
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "draw/text_web.hpp"
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct TextFont {
    int size;
};

const TextFont *open_font(const char *file, int size)
{
    if (strcmp(file, recorded_font.file) != 0 || size != recorded_font.size) {
        fprintf(stderr, "%s: this page holds the texts of %s at %d points only, not %s at %d\n", program_name,
                recorded_font.file, recorded_font.size, file, size);
        exit(1);
    }
    return new TextFont{size};
}

void draw_text(const TextFont *, const char *text, int x, int y, Colour ink)
{
    for (int i = 0; i < recorded_text_count; i++) {
        const RecordedText &r = recorded_texts[i];
        if (strcmp(r.text, text) != 0 || r.ink != ink)
            continue;
        for (int v = 0; v < r.height; v++)
            for (int u = 0; u < r.width; u++) {
                int k = u + v * r.width;
                if ((r.bits[k / 8] >> (7 - k % 8) & 1) && inside_window(x + u, y + v))
                    put_pixel(x + u, y + v, ink);
            }
        return;
    }
    fprintf(stderr, "%s: \"%s\" was not drawn when this page was built\n", program_name, text);
    exit(1);
}
