// stages.hpp: the stages of the picture, as each build's open_screen,
// show_stage and wait keep them (screen.cpp holds the record).
#pragma once
#include "draw/draw.hpp"

struct StageRecord {
    int count = 1; // the stages the picture is shown in
    int shown = 0; // the last one shown, from 1
    char caption[256] = "";
    Readout readout; // what the stage held shows at a pixel
};
extern StageRecord stage_record;

// A new stage: counts it and keeps its caption in the record.
void record_stage(const char *caption);

// The read-out at the pixel (x, y): "" where the program gives none.
std::string readout_at(int x, int y);
