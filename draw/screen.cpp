// The picture in memory and its stages, the same in every build.
#include "draw/draw.hpp"
#include "draw/stages.hpp"
#include <cstdint>
#include <cstdio>
#ifdef __linux__
#include <sys/mman.h>
#endif

// The picture's 1.9 MB, which every run fills at once. Where the kernel
// offers huge pages they come as one page of 2 MB, zeroed in one go,
// rather than as 469 pages that each fault in on first use: a millisecond
// less for every picture program.
static Colour *picture_memory()
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const uintptr_t huge = 2u << 20;
    static_assert(sizeof(Colour) * window_width * window_height <= huge, "the picture fits in one huge page");
    void *area = mmap(nullptr, 2 * huge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area != MAP_FAILED) {
        void *aligned = reinterpret_cast<void *>((reinterpret_cast<uintptr_t>(area) + huge - 1) & ~(huge - 1));
        madvise(aligned, huge, MADV_HUGEPAGE);
        return static_cast<Colour *>(aligned);
    }
#endif
    static Colour pixels[window_width * window_height];
    return pixels;
}

Colour *const screen_pixels = picture_memory();
StageRecord stage_record;

void clear_screen(Colour colour)
{
    for (int i = 0; i < window_width * window_height; i++)
        screen_pixels[i] = colour;
}

void record_stage(const char *caption)
{
    snprintf(stage_record.caption, sizeof stage_record.caption, "%s", caption);
    stage_record.shown++;
}

void set_readout(Readout readout)
{
    stage_record.readout = std::move(readout);
}

std::string readout_at(int x, int y)
{
    return stage_record.readout && inside_window(x, y) ? stage_record.readout(x, y) : std::string();
}
