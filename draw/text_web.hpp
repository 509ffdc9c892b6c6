// text_web.hpp: the texts of a program of the web edition, as a native run
// drew them (web/record_texts.cpp writes the source that defines these).
#pragma once
#include "draw/draw.hpp"

struct RecordedFont {
    const char *file; // the font file's name, without its folder
    int size;         // in points
};

struct RecordedText {
    const char *text;
    Colour ink;
    int width, height;         // the text's line box
    const unsigned char *bits; // 1 on a glyph pixel, row after row, high bit first
};

extern const RecordedFont recorded_font;
extern const RecordedText recorded_texts[];
extern const int recorded_text_count;
