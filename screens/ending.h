// The reward after level twelve: eight pictures drifting and spinning over
// the depth stars, a title picture growing in the centre, a closing zoom.
#pragma once

#include <allegro.h>

#include <array>

struct EndingSprite {
  int x, y;    // top-left of the unrotated box
  int dx, dy;  // pixels per frame
};

extern DATAFILE *ending_data;
extern std::array<EndingSprite, 8> ending_sprites;
extern int ending_spin;       // kept for the whole run
extern int ending_spin_tick;  // kept for the whole run
extern float ending_title_scale;

void show_ending();
void init_ending_sprites();
void draw_ending(BITMAP *bitmap);
void move_ending_sprites();
