// The first 72 steps of the square spiral on which the Ulam spiral writes the
// numbers, at 40 pixels a step: each step a black segment, its number beside
// the point it reaches, a dot on every point but the last, and the title
// " ULAM". The text is rendered with SDL_ttf from "times.ttf", taken from the
// working directory or else from beside the program.
#include "console/identity.hpp"
#include "console/parameters.hpp"
#include "draw/draw.hpp"
#include <SDL_ttf.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

const char font_file[] = "times.ttf";
const int font_size = 20;
const int unit = 40;      // pixels per lattice step
const int last_step = 72; // the walk stops at the end of the round reaching it
const int dot_radius = 2;

// The four directions in the order each round takes them: right, up, left,
// down (y grows downward), and where each step's label goes relative to the
// pixel of the point reached (its top-left corner).
const int direction_dx[] = {1, 0, -1, 0};
const int direction_dy[] = {0, -1, 0, 1};
const int label_dx[] = {-12, 0, -12, -30};
const int label_dy[] = {-3, -13, -25, -13};

Uint32 white, black;
const SDL_Color text_colour = {0, 0, 0, 0};
char label_text[2000];
TTF_Font *label_font;
SDL_Rect label_place; // only x and y are set; the blit fills in the size

std::string font_path; // the file the font was opened from

// The font could not be used: says which file and why, then ends the program.
static void font_failure(const std::string &what)
{
    fprintf(stderr, "%s: %s: %s\n", program_name, what.c_str(), TTF_GetError());
    exit(1);
}

// The folder that holds the running program, from the kernel's link to its
// file, or else from the path it was started by; "" when neither says.
static std::string program_folder(const char *started_as)
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string file = length > 0 ? std::string(path, length) : std::string(started_as);
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? "" : file.substr(0, slash == 0 ? 1 : slash);
}

// Opens the font from the working directory, or else from beside the
// program (where the build puts it). If neither place has a usable font,
// names both, each with SDL_ttf's reason, and ends the program.
static TTF_Font *open_label_font(const char *started_as)
{
    char directory[PATH_MAX];
    std::string here = getcwd(directory, sizeof directory) ? directory : ".";
    std::vector<std::string> folders{here};
    std::string beside = program_folder(started_as);
    if (!beside.empty() && beside != here)
        folders.push_back(beside);
    std::string failures;
    for (const std::string &folder : folders) {
        font_path = folder + (folder == "/" ? "" : "/") + font_file;
        if (TTF_Font *font = TTF_OpenFont(font_path.c_str(), font_size))
            return font;
        failures += std::string(failures.empty() ? "" : ", nor ") + "in " + folder + " (" + TTF_GetError() + ")";
    }
    fprintf(stderr, "%s: cannot open the font %s %s\n", program_name, font_file, failures.c_str());
    exit(1);
}

// Renders label_text in black and copies it onto the screen with its
// top-left corner at (x, y); only the glyphs are copied, the background of
// the rendered text is transparent.
static void write_label(int x, int y)
{
    SDL_Surface *text = TTF_RenderText_Solid(label_font, label_text, text_colour);
    if (text == nullptr)
        font_failure(std::string("cannot render \"") + label_text + "\" with the font " + font_path);
    label_place.x = static_cast<Sint16>(x);
    label_place.y = static_cast<Sint16>(y);
    SDL_UpperBlit(text, nullptr, screen, &label_place);
    SDL_FreeSurface(text);
}

int main(int argc, char *argv[])
{
    Parameters parameters(argc, argv);
    if (!parameters.ready())
        return parameters.report();

    // Point k of the walk, in lattice units; entries 0 to 72 are used.
    static int spiral_x[10000], spiral_y[10000];

    open_screen(1);
    white = SDL_MapRGB(screen->format, 255, 255, 255);
    black = SDL_MapRGB(screen->format, 0, 0, 0);
    SDL_FillRect(screen, nullptr, white);

    if (TTF_Init() != 0)
        font_failure("cannot start SDL_ttf for the font");
    label_font = open_label_font(argv[0]);

    snprintf(label_text, sizeof label_text, " ULAM");
    write_label(20, 80);

    // The spiral in rounds: L steps right, L up, L + 1 left, L + 1 down, for
    // L = 1, 3, 5, 7. Each round closes one more ring about the centre, and
    // the fourth ends at step 72 on the lattice point (-4, 4).
    int i = 0;
    spiral_x[0] = spiral_y[0] = 0;
    for (int length = 1; i < last_step; length += 2)
        for (int d = 0; d < 4; d++)
            for (int n = 0; n < (d < 2 ? length : length + 1); n++) {
                i++;
                spiral_x[i] = spiral_x[i - 1] + direction_dx[d];
                spiral_y[i] = spiral_y[i - 1] + direction_dy[d];
                int px = 400 + unit * spiral_x[i], py = 300 + unit * spiral_y[i];
                draw_line(400 + unit * spiral_x[i - 1], 300 + unit * spiral_y[i - 1], px, py, black);
                snprintf(label_text, sizeof label_text, " %d", i);
                write_label(px + label_dx[d], py + label_dy[d]);
            }

    // The dots last, over any label pixels near the points; the point
    // reached by the last step has none.
    for (int j = 0; j < last_step; j++)
        fill_disc(400 + unit * spiral_x[j], 300 + unit * spiral_y[j], dot_radius, black);
    show_stage("the first %d steps of the spiral, each numbered where it arrives", last_step);
    wait_key_or_quit();

    TTF_CloseFont(label_font);
    TTF_Quit();
    return 0;
}
