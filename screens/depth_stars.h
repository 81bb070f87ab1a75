// A field of stars rushing towards the viewer, projected in perspective;
// behind the bonus screen, the options screen and the ending.
#pragma once

#include "screens/screen_records.h"

#include <allegro.h>

void init_depth_stars();
// One step nearer, and a grey as bright as the depth (through rgb_map).
void step_depth_stars();
// Projects and plots the first 200.
void draw_depth_stars(BITMAP *bitmap);
