// Text through SDL_ttf: a solid rendering of the text is an 8-bit surface
// whose entry 0 is the background and entry 1 the glyphs, and only the
// glyphs are copied onto the picture, as a blit with the background as its
// colour key copies them. SDL_ttf needs no video system.
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "draw/text_record.hpp"
#include <SDL_ttf.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

struct TextFont {
    TTF_Font *ttf;
    std::string name, path; // the file's name, and where it was opened
    int size;
};

// The fonts opened, closed at the end of the run with SDL_ttf itself.
namespace {
struct OpenFonts {
    std::vector<std::unique_ptr<TextFont>> fonts;
    ~OpenFonts()
    {
        for (const std::unique_ptr<TextFont> &font : fonts)
            TTF_CloseFont(font->ttf);
        if (TTF_WasInit())
            TTF_Quit();
    }
} open_fonts;
} // namespace

void (*text_recorder)(const DrawnText &drawn);

// The folder that holds the running program, from the kernel's link to its
// file; "" when that cannot be read.
static std::string program_folder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string file = length > 0 ? std::string(path, length) : "";
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? "" : file.substr(0, slash == 0 ? 1 : slash);
}

const TextFont *open_font(const char *file, int size)
{
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        fprintf(stderr, "%s: cannot start SDL_ttf for the font %s: %s\n", program_name, file, TTF_GetError());
        exit(1);
    }
    char directory[PATH_MAX];
    std::string here = getcwd(directory, sizeof directory) ? directory : ".";
    std::vector<std::string> folders{here};
    std::string beside = program_folder();
    if (!beside.empty() && beside != here)
        folders.push_back(beside);
    std::string failures;
    for (const std::string &folder : folders) {
        std::string path = folder + (folder == "/" ? "" : "/") + file;
        if (TTF_Font *ttf = TTF_OpenFont(path.c_str(), size)) {
            open_fonts.fonts.push_back(std::make_unique<TextFont>(TextFont{ttf, file, path, size}));
            return open_fonts.fonts.back().get();
        }
        failures += std::string(failures.empty() ? "" : ", nor ") + "in " + folder + " (" + TTF_GetError() + ")";
    }
    fprintf(stderr, "%s: cannot open the font %s %s\n", program_name, file, failures.c_str());
    exit(1);
}

void draw_text(const TextFont *font, const char *text, int x, int y, Colour ink)
{
    SDL_Color colour = {static_cast<Uint8>(ink >> 16), static_cast<Uint8>(ink >> 8), static_cast<Uint8>(ink), 0};
    SDL_Surface *rendered = TTF_RenderText_Solid(font->ttf, text, colour);
    if (rendered == nullptr) {
        fprintf(stderr, "%s: cannot render \"%s\" with the font %s: %s\n", program_name, text, font->path.c_str(),
                TTF_GetError());
        exit(1);
    }
    std::vector<bool> glyph(static_cast<size_t>(rendered->w) * rendered->h);
    const Uint8 *entries = static_cast<const Uint8 *>(rendered->pixels);
    for (int v = 0; v < rendered->h; v++)
        for (int u = 0; u < rendered->w; u++)
            if (entries[u + v * rendered->pitch] != 0) {
                glyph[u + static_cast<size_t>(v) * rendered->w] = true;
                if (inside_window(x + u, y + v))
                    put_pixel(x + u, y + v, ink);
            }
    if (text_recorder)
        text_recorder({font->name.c_str(), font->size, text, ink, rendered->w, rendered->h, glyph});
    SDL_FreeSurface(rendered);
}
