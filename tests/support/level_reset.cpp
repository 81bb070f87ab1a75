#include "tests/support/level_reset.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "render/starfield.h"
#include "world/enemies.h"
#include "world/enemy_kinds.h"
#include "world/world_tick.h"

#include <allegro.h>

void install_test_palette() {
  static PALETTE palette;
  for (int i = 0; i < 256; ++i) palette[i] = RGB{0, 0, 0, 0};
  // Scattered colours so that the greys have near neighbours to lose to.
  for (int i = 1; i < 240; ++i)
    palette[i] = RGB{static_cast<unsigned char>(i % 64), static_cast<unsigned char>((i * 7) % 64),
                     static_cast<unsigned char>((i * 13) % 64), 0};
  const unsigned char grey[4] = {63, 50, 37, 25};  // 6-bit 255, 200, 150, 100
  for (int l = 0; l < 4; ++l) palette[TEST_GREY_INDEX[l]] = RGB{grey[l], grey[l], grey[l], 0};
  create_rgb_table(&rgb_table, palette, nullptr);
  rgb_map = &rgb_table;
}

void reset_level_records(int n) {
  if (!rgb_map) install_test_palette();
  scroll_y = 719;
  shots_fired = shots_hit = 0;
  scroll_tick = 0;
  reverse_ticks = 0;
  level = n;
  for (Enemy &e : enemies) e = Enemy{};
  enemy_count = 0;
  for (EnemyShot &s : enemy_shots) {
    s = EnemyShot{};
    s.width = enemy_shot_sizes[level_group(n)].width;
    s.height = enemy_shot_sizes[level_group(n)].height;
  }
  freeze_ticks = 0;
  for (PlayerShot &s : player_shots) s = PlayerShot{0, 0, 0, 0, 0, 0, 0, 0, 7, 7};
  init_stars();
  for (Capsule &c : capsules) c = Capsule{0, 0, 0, 2, 0, 0, 0, 0, 0, 0};
  enemies_destroyed = 0;
  level_end = 0;
  shot_timer = 50;
  dive_timer = 250;
  const int rock_x[3] = {50, 146, 242};
  for (int k = 0; k < MAX_SHIELD_ROCKS; ++k) shield_rocks[k] = ShieldRock{rock_x[k], 180, 0, 0, 0, 30, 16};
  for (ExhaustParticle &p : exhaust) p = ExhaustParticle{};
  player.x = 160;
  player.y = 214;
  player.shots_in_flight = 0;
  player.exhaust_frame = 2;
  player.state = -2;
  player.velocity = 0;
  player.friction_tick = 0;
  player.state_ticks = 0;
  player.width = player.height = 16;
  active_explosions = 0;
  for (Explosion &e : explosions) e.active = 0;
}

int add_enemy(int kind, int column, int row) {
  int index = enemy_count++;
  place_enemy(enemies[index], kind, column, row);
  return index;
}
