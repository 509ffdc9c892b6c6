// Linked into the capture build of a picture program that draws text:
// records the font and every text that the program draws, with the glyph
// pixels that the native rendering gave it, and at exit writes the
// recording as a C++ source (to the file named by SUITE_TEXTS_OUTPUT). The
// web edition of the program compiles that source in, and its draw_text
// draws these pixels: the same picture, with no font and no rasterizer in
// the page.
#include "draw/text_record.hpp"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Recording {
    std::string text;
    Colour ink;
    int width, height;
    std::vector<bool> glyph;
};

std::string font_file;
int font_size = 0;
std::vector<Recording> recordings;

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

void write_recording()
{
    const char *path = getenv("SUITE_TEXTS_OUTPUT");
    if (path == nullptr)
        return;
    FILE *out = fopen(path, "w");
    if (out == nullptr)
        fail(std::string("cannot write ") + path);
    fprintf(out, "// Recorded from a native run: the texts that this program drew, as the\n"
                 "// pixels of their glyphs (one bit a pixel, row after row, high bit first).\n"
                 "#include \"draw/text_web.hpp\"\n\n"
                 "const RecordedFont recorded_font = {%s, %d};\n\n",
            literal(font_file).c_str(), font_size);
    for (size_t i = 0; i < recordings.size(); i++) {
        const Recording &r = recordings[i];
        std::vector<unsigned char> bytes((r.glyph.size() + 7) / 8, 0);
        for (size_t k = 0; k < r.glyph.size(); k++)
            if (r.glyph[k])
                bytes[k / 8] |= 0x80 >> (k % 8);
        fprintf(out, "static const unsigned char bits_%zu[] = {", i);
        for (size_t k = 0; k < bytes.size(); k++)
            fprintf(out, "%s%u,", k % 16 == 0 ? "\n    " : " ", bytes[k]);
        fprintf(out, "%s};\n", bytes.empty() ? "0" : "");
    }
    fprintf(out, "\nconst RecordedText recorded_texts[] = {\n");
    for (size_t i = 0; i < recordings.size(); i++) {
        const Recording &r = recordings[i];
        fprintf(out, "    {%s, 0x%06X, %d, %d, bits_%zu},\n", literal(r.text).c_str(), r.ink, r.width, r.height, i);
    }
    fprintf(out, "};\nconst int recorded_text_count = %zu;\n", recordings.size());
    if (fclose(out) != 0)
        fail(std::string("cannot write ") + path);
}

// One font, at one size, for the whole run: the page replays one.
void record(const DrawnText &drawn)
{
    if (font_file.empty()) {
        font_file = drawn.font_file;
        font_size = drawn.font_size;
        atexit(write_recording);
    } else if (font_file != drawn.font_file || font_size != drawn.font_size) {
        fail("a second font: the web edition replays one");
    }
    recordings.push_back({drawn.text, drawn.ink, drawn.width, drawn.height, drawn.glyph});
}

struct Recorder {
    Recorder() { text_recorder = record; }
} recorder;

} // namespace
