// Level start: the formation read from a layout picture, and on the
// generated level datafiles which set and layout each level takes, the
// resets and the opening caption.
#include "combat/collisions.h"
#include "combat/explosions.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "tests/support/headless_game.h"
#include "tests/support/screen_text.h"
#include "world/enemies.h"

namespace {

class LevelStartTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    make_frame_bitmaps();
    platform_open_display(DisplayRequest{1});
    reset_program_globals();
    player.lives = 3;
  }
  void start(int n) {
    level = n;
    level_start(n);
  }
};

class BuildLayoutTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    install_level_one();
    clear(layout(0));
  }
  BITMAP *layout(int n) { return dat_bitmap(level_data, level_object::LAYOUTS + n); }
};

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
  shield_rocks[2].state = 1;
  start_explosion(100, 100, 50, 0, 0);
  reverse_ticks = 300;
  start(2);
  EXPECT_EQ(player.x, 160);
  EXPECT_EQ(player.velocity, 0);
  EXPECT_EQ(reverse_ticks, 0);
  EXPECT_EQ(explosions[0].active + active_explosions, 0);
  EXPECT_EQ(shield_rocks[2].state, 0);
  EXPECT_EQ(player.lives, 3);  // carried over
}

TEST_F(LevelStartTest, LevelsOfAGroupShareTheirDatafileAndEachTakesItsOwnLayout) {
  DATAFILE *set = nullptr;
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    start(n);
    EXPECT_TRUE((n - 1) % 3 == 0 || level_data == set);
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
  EXPECT_EQ(enemy_shots[7].width, 8);  // the last group's own shot size
}

TEST_F(BuildLayoutTest, SlotsAreTakenRowByRowAndOnlyKindsOfTheGroupPlay) {
  for (Enemy &e : enemies) e.active = 1;  // left from an earlier level
  putpixel(layout(0), 3, 2, 2);           // row 2 comes after row 1
  putpixel(layout(0), 5, 1, 1);
  putpixel(layout(0), 6, 1, 7);
  build_layout();
  ASSERT_EQ(enemy_count, 3);
  const Enemy &a = enemies[0], &other = enemies[1], &b = enemies[2];
  EXPECT_EQ(a.x, 60);
  EXPECT_EQ(a.home_y, 6);
  EXPECT_EQ(a.hit_points, 2);
  EXPECT_EQ(other.kind, 7);  // counted, but never plays
  EXPECT_EQ(other.active, 0);
  EXPECT_EQ(b.y, 22);
  EXPECT_EQ(b.sprite_base, 12);
  for (int i = 3; i < MAX_ENEMIES; ++i) EXPECT_EQ(enemies[i].active, 0) << i;
  EXPECT_EQ(enemy_shots[7].height, 7);
}

TEST_F(BuildLayoutTest, SlotsPastTheFortiethAreIgnoredAndASmallPictureLeavesTheRestEmpty) {
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 20; ++i) putpixel(layout(0), i, j, 1);
  build_layout();
  EXPECT_EQ(enemy_count, 40);
  EXPECT_EQ(enemies[39].x, 12 * 19);
  EXPECT_EQ(enemies[39].y, 16 * 1 - 10);

  destroy_bitmap(layout(0));
  BITMAP *small = create_bitmap(4, 2);
  clear_to_color(small, 1);
  level_data[level_object::LAYOUTS].dat = small;
  build_layout();
  EXPECT_EQ(enemy_count, 8);
  EXPECT_EQ(enemies[7].x, 36);
  EXPECT_EQ(enemies[7].y, 6);
}
