// A field of stars rushing towards the viewer, projected in perspective;
// behind the bonus screen, the options screen and the ending.
#pragma once

#include <allegro.h>

#include <array>

struct DepthStar {
  int x, y;    // distance from the view axis, -64..63 (y up)
  int z;       // depth: 0 farthest, 255 nearest
  int colour;
};

constexpr int DEPTH_STARS = 400;
constexpr int DEPTH_STARS_DRAWN = 200;

extern std::array<DepthStar, DEPTH_STARS> depth_stars;

void init_depth_stars();
// One step nearer, and a grey as bright as the depth (through rgb_map).
void step_depth_stars();
// Projects and plots the first 200.
void draw_depth_stars(BITMAP *bitmap);
