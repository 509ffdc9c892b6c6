// The window of the web edition is the page's canvas. Each stage hands the
// picture to the page, and a stage's wait hands control back to the page
// until a key, a click on the picture or "Next stage" answers it. The page
// asks for the read-out under its pointer (page_readout).
#include "console/identity.hpp"
#include "console/page_web.hpp"
#include "draw/draw.hpp"
#include "draw/stages.hpp"
#include <cstdio>
#include <emscripten.h>

EM_JS(void, page_show_picture, (const void *pixels, int width, int height), {
    Module.suiteShowPicture(HEAPU8.subarray(pixels, pixels + 4 * width * height), width, height);
});

EM_JS(void, page_show_stage, (int shown, int count, const char *caption), {
    Module.suiteShowStage(shown, count, UTF8ToString(caption));
});

void open_screen(int stage_count)
{
    stage_record.count = stage_count;
}

// The picture in the canvas's byte order: red, green, blue, alpha (opaque).
static unsigned char canvas_bytes[4 * window_width * window_height];

void show_stage(const char *caption)
{
    record_stage(caption);
    for (int i = 0; i < window_width * window_height; i++) {
        canvas_bytes[4 * i] = static_cast<unsigned char>(screen_pixels[i] >> 16);
        canvas_bytes[4 * i + 1] = static_cast<unsigned char>(screen_pixels[i] >> 8);
        canvas_bytes[4 * i + 2] = static_cast<unsigned char>(screen_pixels[i]);
        canvas_bytes[4 * i + 3] = 255;
    }
    // The stage goes with the step that reports it (or is one of its own).
    page_show_picture(canvas_bytes, window_width, window_height);
    page_show_stage(stage_record.shown, stage_record.count, stage_record.caption);
}

bool wait_key_or_quit()
{
    page_wait(page_wait_stage);
    return false;
}

// The read-out at the pixel (x, y), for the page's pointer: called by the
// worker while the program waits, or once it has ended (the program then
// stays, see main_web.cpp).
extern "C" EMSCRIPTEN_KEEPALIVE const char *page_readout(int x, int y)
{
    static std::string text;
    text = readout_at(x, y);
    return text.c_str();
}
