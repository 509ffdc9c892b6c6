// Linked into a picture program whose SDL_ttf calls are wrapped (ld --wrap):
// records the font it opens and every text it renders with
// TTF_RenderText_Solid, as the native SDL_ttf renders it, and at exit writes
// the recording as a C++ source (to the file named by SUITE_TEXTS_OUTPUT).
// The web edition of the program compiles that source in, and its
// TTF_RenderText_Solid hands back these bitmaps: the same pixels, with no
// font and no rasterizer in the page.
#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" TTF_Font *__real_TTF_OpenFont(const char *file, int size);
extern "C" SDL_Surface *__real_TTF_RenderText_Solid(TTF_Font *font, const char *text, SDL_Color ink);

namespace {

struct Rendering {
    std::string text;
    int width, height;
    SDL_Color ink, paper;     // palette entries 1 and 0
    bool keyed;               // entry 0 is transparent in a blit
    std::vector<bool> inked;  // row after row: true where the pixel is entry 1
};

std::string font_file;
int font_size = 0;
std::vector<Rendering> renderings;

[[noreturn]] void fail(const std::string &what)
{
    fprintf(stderr, "record_texts: %s\n", what.c_str());
    exit(1);
}

// A C string literal: printable ASCII as it is, every other byte in octal.
std::string literal(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char octal[8];
            snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        }
    }
    return out + "\"";
}

std::string colour(SDL_Color c)
{
    return "{" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ", 0}";
}

void write_recording()
{
    const char *path = getenv("SUITE_TEXTS_OUTPUT");
    if (path == nullptr)
        return;
    FILE *out = fopen(path, "w");
    if (out == nullptr)
        fail(std::string("cannot write ") + path);
    fprintf(out, "// Recorded from a native run: the texts that this program rendered with\n"
                 "// SDL_ttf, as bitmaps (one bit a pixel, row after row, high bit first).\n"
                 "#include \"draw/ttf_web.hpp\"\n\n"
                 "const RecordedFont recorded_font = {%s, %d};\n\n",
            literal(font_file).c_str(), font_size);
    for (size_t i = 0; i < renderings.size(); i++) {
        const Rendering &r = renderings[i];
        std::vector<unsigned char> bytes((r.inked.size() + 7) / 8, 0);
        for (size_t k = 0; k < r.inked.size(); k++)
            if (r.inked[k])
                bytes[k / 8] |= 0x80 >> (k % 8);
        fprintf(out, "static const unsigned char bits_%zu[] = {", i);
        for (size_t k = 0; k < bytes.size(); k++)
            fprintf(out, "%s%u,", k % 16 == 0 ? "\n    " : " ", bytes[k]);
        fprintf(out, "%s};\n", bytes.empty() ? "0" : "");
    }
    fprintf(out, "\nconst RecordedText recorded_texts[] = {\n");
    for (size_t i = 0; i < renderings.size(); i++) {
        const Rendering &r = renderings[i];
        fprintf(out, "    {%s, %d, %d, %s, %s, %s, bits_%zu},\n", literal(r.text).c_str(), r.width, r.height,
                colour(r.ink).c_str(), colour(r.paper).c_str(), r.keyed ? "true" : "false", i);
    }
    fprintf(out, "};\nconst int recorded_text_count = %zu;\n", renderings.size());
    if (fclose(out) != 0)
        fail(std::string("cannot write ") + path);
}

} // namespace

extern "C" TTF_Font *__wrap_TTF_OpenFont(const char *file, int size)
{
    TTF_Font *font = __real_TTF_OpenFont(file, size);
    if (font != nullptr) {
        // Only the file's name counts: the program may find it in another folder.
        std::string name = file;
        size_t slash = name.rfind('/');
        name = slash == std::string::npos ? name : name.substr(slash + 1);
        if (!font_file.empty() && (name != font_file || size != font_size))
            fail("a second font: the web edition replays one");
        font_file = name;
        font_size = size;
        static bool registered = false;
        if (!registered)
            atexit(write_recording);
        registered = true;
    }
    return font;
}

extern "C" SDL_Surface *__wrap_TTF_RenderText_Solid(TTF_Font *font, const char *text, SDL_Color ink)
{
    SDL_Surface *surface = __real_TTF_RenderText_Solid(font, text, ink);
    if (surface == nullptr)
        return surface;
    // A solid rendering is an 8-bit surface: entry 0 the background, entry 1
    // the glyphs.
    const SDL_PixelFormat *f = surface->format;
    if (f->BitsPerPixel != 8 || f->palette == nullptr || f->palette->ncolors < 2)
        fail(std::string("\"") + text + "\" was not rendered as an 8-bit palette surface");
    Rendering r;
    r.text = text;
    r.width = surface->w;
    r.height = surface->h;
    r.paper = f->palette->colors[0];
    r.ink = f->palette->colors[1];
    r.keyed = (surface->flags & SDL_SRCCOLORKEY) != 0;
    if (r.keyed && f->colorkey != 0)
        fail(std::string("\"") + text + "\" has a colour key other than entry 0");
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; y++)
        for (int x = 0; x < surface->w; x++) {
            Uint8 entry = static_cast<const Uint8 *>(surface->pixels)[y * surface->pitch + x];
            if (entry > 1)
                fail(std::string("\"") + text + "\" uses a palette entry other than 0 and 1");
            r.inked.push_back(entry == 1);
        }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    renderings.push_back(r);
    return surface;
}
