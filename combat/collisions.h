// The collision pass of one tick, scoring, bonuses and the shield rocks.
#pragma once

// 1 when the boxes (top-left corner and size) overlap; touching is not.
int boxes_overlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
void resolve_collisions();
