#include "tests/support/world_test.h"

#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/random.h"
#include "tests/support/level_reset.h"
#include "world/enemies.h"
#include "world/records.h"

void WorldTest::SetUp() {
  HeadlessTest::SetUp();
  install_test_palette();  // whatever an earlier test left in rgb_map
  reset_level_records(1);
  reset_game();
  player.state = SHIP_ALIVE;
  // Directions -2.0, -1.96, ... so that each particle's pair is known.
  for (int i = 0; i < 200; ++i) direction_table[i] = (i % 100) * 0.04f - 2.0f;
  random_state = 1;
  draw_mark_ = random_draws = 0;
}

std::vector<Sound> sounds() {
  std::vector<Sound> out;
  for (const headless::SampleCall &c : headless::samples()) {
    EXPECT_EQ(c.pan, 128);
    EXPECT_EQ(c.loop, 0);
    out.push_back({c.object, c.volume, c.frequency});
  }
  return out;
}

// The fields play reads; the rest keep what the level's reset gave them.
template <typename Shot, std::size_t N>
int put_shot(std::array<Shot, N> &shots, int x, int y) {
  int index = first_free(shots);
  shots[index].active = 1;
  shots[index].x = x;
  shots[index].y = y;
  shots[index].frame_count = 2;
  return index;
}

int put_player_shot(int x, int y) {
  int i = put_shot(player_shots, x, y);
  player_shots[i].speed = 4;
  ++player.shots_in_flight;
  return i;
}

int put_enemy_shot(int x, int y) {
  int i = put_shot(enemy_shots, x, y);
  enemy_shots[i].dy = 2;
  return i;
}
