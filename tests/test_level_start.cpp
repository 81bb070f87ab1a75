// Level start on the generated level datafiles: which set and layout each
// level takes, the resets, the opening caption, and memory that is given
// back by everything that makes a bitmap per use.
#include "combat/collisions.h"
#include "combat/explosions.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/controls.h"
#include "frame/game_over.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "screens/final_results.h"
#include "screens/level_results.h"
#include "tests/support/headless_game.h"
#include "tests/support/screen_text.h"
#include "world/enemies.h"

#include <malloc.h>

namespace {

class LevelStartTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    make_frame_bitmaps();
    platform_set_gfx_mode(320, 240);
    reset_program_globals();
    player.lives = 3;
  }
  void start(int n) {
    level = n;
    level_start(n);
  }
  static int layout_enemies(int object) {
    BITMAP *b = dat_bitmap(level_data, object);
    int n = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 20; ++i) n += getpixel(b, i, j) > 0;
    return n;
  }
};

long heap_in_use() { return static_cast<long>(mallinfo2().uordblks); }

}  // namespace

TEST_F(LevelStartTest, ShowsTheFirstFrameAndANinetySixFrameCaption) {
  long caption_last_seen = -1;
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind == headless::Wait::Present && shows_text(headless::screen(), -59, 193, "LEVEL 1"))
      caption_last_seen = e.frame;
  });
  start(1);
  EXPECT_EQ(headless::frames(), 1 + 96);
  EXPECT_EQ(caption_last_seen, 97);  // the last position is x = -59
  EXPECT_TRUE(headless::samples().empty());
  EXPECT_EQ(rgb_map, &rgb_table);
  EXPECT_EQ(color_map, &trans_table);
}

TEST_F(LevelStartTest, TheShipRocksAndEffectsStartEveryLevelAfresh) {
  start(1);
  player.x = 17;
  player.velocity = -2;
  player.state = 1;
  for (ShieldRock &r : shield_rocks) r.state = 1;
  start_explosion(100, 100, 50, 0, 0);
  reverse_ticks = 300;
  start(2);
  EXPECT_EQ(player.x, 160);
  EXPECT_EQ(player.y, 214);
  EXPECT_EQ(player.state, -2);
  EXPECT_EQ(player.velocity, 0);
  EXPECT_EQ(reverse_ticks, 0);
  EXPECT_EQ(active_explosions, 0);
  for (const ShieldRock &r : shield_rocks) EXPECT_EQ(r.state, 0);
  for (const Explosion &x : explosions) EXPECT_EQ(x.active, 0);
  EXPECT_EQ(scroll_y, 719);
  EXPECT_EQ(shot_timer, 50);
  EXPECT_EQ(dive_timer, 250);
  EXPECT_EQ(player.lives, 3);  // carried over
}

TEST_F(LevelStartTest, LevelsOfAGroupShareTheirDatafileAndTakeTheirOwnLayout) {
  start(1);
  DATAFILE *set = level_data;
  EXPECT_EQ(enemy_count, layout_enemies(level_object::LAYOUTS));
  start(2);
  EXPECT_EQ(level_data, set);
  EXPECT_EQ(enemy_count, layout_enemies(level_object::LAYOUTS + 1));
  start(3);
  EXPECT_EQ(enemy_count, layout_enemies(level_object::LAYOUTS + 2));
  start(4);
  EXPECT_EQ(enemy_count, layout_enemies(level_object::LAYOUTS));
  for (int i = 0; i < enemy_count; ++i) {
    EXPECT_TRUE(enemies[i].kind == 3 || enemies[i].kind == 4) << i;
    EXPECT_EQ(enemies[i].active, 1);
  }
  EXPECT_EQ(enemy_shots[0].width, 6);
}

TEST_F(LevelStartTest, EveryLevelOfTheGameStartsWithAFormationOfItsGroup) {
  for (int n = 1; n <= 12; ++n) {
    start(n);
    ASSERT_GT(enemy_count, 0) << n;
    for (int i = 0; i < enemy_count; ++i) EXPECT_EQ(enemies[i].active, 1) << n << " " << i;
  }
}

TEST_F(LevelStartTest, NewGamesAndRepeatedScreensGiveTheirMemoryBack) {
  start(1);  // the first load, and the library's own first-use allocations
  start(1);
  long before = heap_in_use();
  for (int i = 0; i < 10; ++i) start(1);
  EXPECT_LT(heap_in_use() - before, 64 * 1024) << "level start";

  platform_install_timer(timer_tick);
  headless::hold(KEY_P);
  pause_game();
  before = heap_in_use();
  for (int i = 0; i < 10; ++i) pause_game();
  EXPECT_LT(heap_in_use() - before, 16 * 1024) << "pause";
  headless::release_all();

  headless::set_hook([](const headless::Event &e) {
    if (e.kind == headless::Wait::ReadKey || e.frame % 60 == 0) headless::press(KEY_SPACE);
  });
  game_over();
  show_level_results();
  show_final_results();
  before = heap_in_use();
  for (int i = 0; i < 5; ++i) {
    game_over();
    show_level_results();
    show_final_results();
  }
  EXPECT_LT(heap_in_use() - before, 16 * 1024) << "results and game over";
}
