// ttf_web.hpp: the texts of a program of the web edition, as the native
// SDL_ttf rendered them in a recorded run (web/record_texts.cpp writes the
// source that defines these). TTF_RenderText_Solid hands them back.
#pragma once
#include <SDL.h>

struct RecordedFont {
    const char *file; // the font file's name, without its folder
    int size;         // in points
};

struct RecordedText {
    const char *text;
    int width, height;
    SDL_Color ink, paper;       // palette entries 1 and 0
    bool keyed;                 // entry 0 is transparent in a blit
    const unsigned char *bits;  // 1 for ink, row after row, high bit first
};

extern const RecordedFont recorded_font;
extern const RecordedText recorded_texts[];
extern const int recorded_text_count;
