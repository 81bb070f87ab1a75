// Level start: the level's graphics set, colour tables, enemy formation,
// per-level resets, the first frame and the "LEVEL %d" scroll.
#pragma once

int level_start(int n);
int load_level_data();
void build_layout();
