// The records of the screens that animate between games: the depth stars
// and the ending's sprites. Types only; the tables are declared with the
// rest of the state of play (frame/game_state.h).
#pragma once

struct DepthStar {
  int x, y;    // distance from the view axis, -64..63 (y up)
  int z;       // depth: 0 farthest, 255 nearest
  int colour;
};

constexpr int DEPTH_STARS = 400;
constexpr int DEPTH_STARS_DRAWN = 200;

struct EndingSprite {
  int x, y;    // top-left of the unrotated box
  int dx, dy;  // pixels per frame
};

constexpr int ENDING_SPRITES = 8;

// The rows of the options screen, and so of its marks.
constexpr int OPTION_ROWS = 5;
