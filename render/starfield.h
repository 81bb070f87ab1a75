// Thirty single-pixel stars falling in four depth layers behind the play.
#pragma once

#include <allegro.h>

#include <array>

struct Star {
  int x, y;
  int layer;  // 0 nearest
  int colour;
  int delay;  // ticks left before the next one-pixel step
};

constexpr int star_count = 30;
extern std::array<Star, star_count> stars;

void init_stars();
void step_stars();
void draw_stars(BITMAP *bitmap);
