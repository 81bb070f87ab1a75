// The collision pass of one tick, scoring, bonuses and the shield rocks.
#pragma once

// 1 when the boxes (top-left corner and size) overlap; touching is not.
int boxes_overlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
void resolve_collisions();
// The ship's one-step weakening: speed, weapon and firepower, each down to
// its floor (3, 1 and 2; a speed already below 3 stays).
void degrade_ship();
// Every score gain also counts towards the next extra life.
void add_score(int points);
