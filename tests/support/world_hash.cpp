#include "tests/support/world_hash.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "render/starfield.h"
#include "screens/depth_stars.h"
#include "screens/ending.h"
#include "screens/title.h"
#include "tests/support/headless_game.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <cstring>

void reset_world_state() {
  reset_program_globals();
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
}
