// The capture build: no window and no video system. The picture stays in
// memory, and where a user would press a key the stage is saved as a PNG.
#include "console/identity.hpp"
#include "draw/draw.hpp"
#include "draw/png.hpp"
#include "draw/stages.hpp"
#include <cstdio>
#include <cstdlib>

void open_screen(int stage_count)
{
    stage_record.count = stage_count;
}

void show_stage(const char *caption)
{
    record_stage(caption);
}

// The k-th wait saves the picture as NAME-k.png. When SUITE_CAPTURE_CAPTIONS
// names a file, a line "NAME-k.png<tab>stage j of N: caption" is added to it:
// which stage each picture holds (a stage shown without a wait has none).
bool wait_key_or_quit()
{
    static int waits = 0;
    char path[256];
    snprintf(path, sizeof path, "%s-%d.png", program_name, ++waits);
    if (!save_screen_png(path)) {
        fprintf(stderr, "%s: cannot write %s\n", program_name, path);
        exit(1);
    }
    const char *captions = getenv("SUITE_CAPTURE_CAPTIONS");
    if (captions != nullptr && *captions != '\0') {
        FILE *file = fopen(captions, "a");
        if (file == nullptr ||
            fprintf(file, "%s\tstage %d of %d: %s\n", path, stage_record.shown, stage_record.count,
                    stage_record.caption) < 0 ||
            fclose(file) != 0) {
            fprintf(stderr, "%s: cannot write the caption of %s into %s\n", program_name, path, captions);
            exit(1);
        }
    }
    return false;
}
