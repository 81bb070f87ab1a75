#include "tests/support/level_reset.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
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
  // Blank records first, so that no test sees what an earlier one left.
  for (Enemy &e : enemies) e = Enemy{};
  enemy_count = 0;
  for (EnemyShot &s : enemy_shots) {
    s = EnemyShot{};
    s.width = enemy_shot_sizes[level_group(n)].width;
    s.height = enemy_shot_sizes[level_group(n)].height;
  }
  for (PlayerShot &s : player_shots) s = PlayerShot{};
  for (Capsule &c : capsules) c = Capsule{};
  for (ExhaustParticle &p : exhaust) p = ExhaustParticle{};
  reset_level_state(n);
}

int add_enemy(EnemyKindId kind, int column, int row) {
  int index = enemy_count++;
  place_enemy(enemies[index], kind, column, row);
  return index;
}
