// Drawing helpers of the renderer that the results screens share: halos,
// exhaust specks, explosion rings and particles.
#pragma once

#include <allegro.h>

// A filled circle in colour - 10, with one of radius - 4 in colour inside.
void draw_glow(BITMAP *bitmap, int x, int y, int radius, int colour);
void draw_exhaust(BITMAP *bitmap);
void draw_explosion_glows(BITMAP *bitmap);
void draw_explosion(int index, BITMAP *bitmap);
