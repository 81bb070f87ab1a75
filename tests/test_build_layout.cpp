// The enemy formation read from the level's layout picture.
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"
#include "world/enemies.h"

namespace {

class BuildLayoutTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    install_test_level();
    level = 1;
  }
  BITMAP *layout(int n) { return dat_bitmap(level_data, level_object::LAYOUTS + n); }
};

}  // namespace

TEST_F(BuildLayoutTest, SlotsAreTakenRowByRowAndOnlyKindsOfTheGroupPlay) {
  for (Enemy &e : enemies) e.active = 1;  // left from an earlier level
  putpixel(layout(0), 3, 2, 2);           // row 2 comes after row 1
  putpixel(layout(0), 5, 1, 1);
  putpixel(layout(0), 6, 1, 7);
  build_layout();
  ASSERT_EQ(enemy_count, 3);
  const Enemy &a = enemies[0], &other = enemies[1], &b = enemies[2];
  EXPECT_EQ(a.kind, 1);
  EXPECT_EQ(a.x, 60);
  EXPECT_EQ(a.home_y, 6);
  EXPECT_EQ(a.hit_points, 2);
  EXPECT_EQ(other.kind, 7);  // counted, but never plays
  EXPECT_EQ(other.active, 0);
  EXPECT_EQ(b.x, 36);
  EXPECT_EQ(b.y, 22);
  EXPECT_EQ(b.sprite_base, 12);
  EXPECT_EQ(b.active, 1);
  for (int i = 3; i < MAX_ENEMIES; ++i) EXPECT_EQ(enemies[i].active, 0) << i;
  EXPECT_EQ(enemy_shots[7].width, 5);
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
