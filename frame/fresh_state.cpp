#include "frame/fresh_state.h"

#include "frame/game_state.h"

#include <allegro.h>

void reset_world_state() {
  reset_play_state();
  // The library's colour tables and drawing mode as it starts with them.
  rgb_map = nullptr;
  color_map = nullptr;
  solid_mode();
}
