// stages.hpp: the stages of the picture, as each build's open_screen,
// show_stage and wait keep them (screen.cpp holds the record).
#pragma once
#include <cstdarg>

struct StageRecord {
    int count = 1; // the stages the picture is shown in
    int shown = 0; // the last one shown, from 1
    char caption[256] = "";
};
extern StageRecord stage_record;

// A new stage: counts it and formats its caption into the record.
void record_stage(const char *caption_format, va_list args);

// "stage k of N: caption" on standard output, flushed, so that a caption
// that cannot be written shows in the output's error state.
void print_stage();
