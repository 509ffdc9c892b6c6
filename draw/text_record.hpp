// text_record.hpp: each text that a native run draws, handed to a recorder
// when one is set (web/record_texts.cpp sets one), so that the web edition
// can draw the very same glyphs with no font and no rasterizer.
#pragma once
#include "draw/draw.hpp"
#include <vector>

struct DrawnText {
    const char *font_file; // the font's file name, without its folder
    int font_size;         // in points
    const char *text;
    Colour ink;
    int width, height;             // the text's line box, in pixels
    const std::vector<bool> &glyph; // row after row: true on a glyph pixel
};

extern void (*text_recorder)(const DrawnText &drawn);
