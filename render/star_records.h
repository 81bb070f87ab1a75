// The record of the starfield behind play. Types only; the table is
// declared with the rest of the state of play (frame/game_state.h).
#pragma once

struct Star {
  int x, y;
  int layer;  // 0 nearest
  int colour;
  int delay;  // ticks left before the next one-pixel step
};

constexpr int star_count = 30;
