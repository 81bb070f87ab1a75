#include "frame/fresh_state.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "render/starfield.h"
#include "screens/depth_stars.h"
#include "screens/ending.h"
#include "screens/title.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <allegro.h>

#include <cstring>

void reset_world_state() {
  random_state = 1;
  random_draws = 0;
  player = Player{};
  level = 1;
  level_end = 0;
  shots_fired = shots_hit = total_shots_fired = total_shots_hit = 0;
  reverse_ticks = scroll_y = scroll_tick = 0;
  direction_table.fill(0.0f);
  demo_steer = 0;
  game_ticks = 0;
  demo_mode = 0;
  option_glow = option_scroll = option_music = option_stars = 1;
  option_shot_collisions = option_effects = option_background = 1;
  fire_held = 0;
  enemies = {};
  enemy_shots = {};
  enemy_count = enemies_destroyed = shot_timer = dive_timer = freeze_ticks = 0;
  exhaust = {};
  player_shots = {};
  capsules = {};
  shield_rocks = {};
  stars = {};
  explosions = {};
  active_explosions = direction_cursor = 0;
  depth_stars = {};
  ending_sprites = {};
  ending_spin = ending_spin_tick = 0;
  ending_title_scale = 0.0f;
  std::memset(option_marks, 0, sizeof option_marks);
  option_cursor = option_key_held = 0;
  rgb_map = nullptr;
  color_map = nullptr;
  solid_mode();
}
