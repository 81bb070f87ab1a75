// Placeholder level start: resets the ship and the level flags only.
#include "frame/level_start.h"

#include "frame/game_state.h"
#include "render/draw_frame.h"

int load_level_data() { return 1; }
void build_layout() {}

int level_start(int n) {
  level = n;
  scroll_y = 719;
  scroll_tick = 0;
  shots_fired = shots_hit = 0;
  reverse_ticks = 0;
  level_end = 0;
  player.x = 160;
  player.y = 214;
  player.velocity = 0;
  player.friction_tick = 0;
  player.shots_in_flight = 0;
  player.exhaust_frame = 2;
  player.state = -2;
  player.state_ticks = 0;
  player.width = player.height = 16;
  draw_frame();
  return 0;
}
