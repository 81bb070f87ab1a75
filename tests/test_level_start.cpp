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
  EXPECT_EQ(player.state, -2);
  EXPECT_EQ(player.velocity, 0);
  EXPECT_EQ(reverse_ticks, 0);
  EXPECT_EQ(explosions[0].active, 0);
  EXPECT_EQ(active_explosions, 0);
  for (const ShieldRock &r : shield_rocks) EXPECT_EQ(r.state, 0);
  EXPECT_EQ(scroll_y, 719);
  EXPECT_EQ(shot_timer, 50);
  EXPECT_EQ(dive_timer, 250);
  EXPECT_EQ(player.lives, 3);  // carried over
}

TEST_F(LevelStartTest, LevelsOfAGroupShareTheirDatafileAndEachTakesItsOwnLayout) {
  DATAFILE *set = nullptr;
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    start(n);
    if ((n - 1) % 3 != 0) EXPECT_EQ(level_data, set);
    set = level_data;
    BITMAP *layout = dat_bitmap(level_data, level_object::LAYOUTS + (n - 1) % 3);
    int slots = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 20; ++i) slots += getpixel(layout, i, j) > 0;
    EXPECT_EQ(enemy_count, slots);
    const int first_kind = 2 * ((n - 1) / 3) + 1;
    for (int i = 0; i < enemy_count; ++i) {
      EXPECT_TRUE(enemies[i].kind == first_kind || enemies[i].kind == first_kind + 1) << i;
      EXPECT_EQ(enemies[i].active, 1) << i;
    }
  }
}

TEST_F(LevelStartTest, NewLevelsPausesAndRepeatedScreensGiveTheirMemoryBack) {
  platform_install_timer(timer_tick);
  headless::set_hook([](const headless::Event &e) {
    headless::hold(KEY_P);
    if (e.kind == headless::Wait::ReadKey || e.frame % 60 == 0) headless::press(KEY_SPACE);
  });
  long before = 0;
  for (int round = 0; round < 6; ++round) {
    if (round == 1) before = heap_in_use();  // after the first load and first uses
    start(1);
    pause_game();
    game_over();
    show_level_results();
    show_final_results();
  }
  EXPECT_LT(heap_in_use() - before, 64 * 1024);
}
