// Level start: the level's graphics set, colour tables, enemy formation,
// per-level resets, the first frame and the "LEVEL %d" scroll.
#pragma once

#include "frame/resources.h"

int level_start(int n);
// Every per-level reset of a level start (the scroll, the counters, shots,
// capsules, rocks, explosions, exhaust, stars and the ship) without loading
// anything, placing the formation or drawing.
void reset_level_state(int n);
int load_level_data();
void build_layout();
