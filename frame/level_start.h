// Level start: the level's graphics set, colour tables, enemy formation,
// per-level resets, the first frame and the "LEVEL %d" scroll.
#pragma once

int level_start(int n);
// Every per-level reset of a level start (the scroll, the counters, shots,
// capsules, rocks, explosions, exhaust, stars and the ship) without loading
// anything, placing the formation or drawing.
void reset_level_state(int n);
int load_level_data();
// The graphics set of the current level's group loaded again, as its level
// start left it, its colour tables left alone (a kept state put back).
void load_level_group();
// Lets the graphics set go (level_data is then null).
void release_level_data();
// The datafile of a level's group: "level1.dat" for levels 1 to 3, ...
const char *level_datafile(int level_number);
void build_layout();
