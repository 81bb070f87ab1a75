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
  }
  BITMAP *layout(int n) { return dat_bitmap(level_data, level_object::LAYOUTS + n); }
};

}  // namespace

TEST_F(BuildLayoutTest, SlotsAreTakenRowByRowWithTheirKindsAttributes) {
  level = 1;
  putpixel(layout(0), 3, 2, 2);  // row 2 comes after row 1
  putpixel(layout(0), 5, 1, 1);
  build_layout();
  ASSERT_EQ(enemy_count, 2);
  const Enemy &a = enemies[0], &b = enemies[1];
  EXPECT_EQ(a.kind, 1);
  EXPECT_EQ(a.x, 60);
  EXPECT_EQ(a.home_y, 6);
  EXPECT_EQ(a.hit_points, 2);
  EXPECT_EQ(a.width, 15);
  EXPECT_EQ(a.frame, 1);
  EXPECT_EQ(a.active, 1);
  EXPECT_EQ(b.kind, 2);
  EXPECT_EQ(b.x, 36);
  EXPECT_EQ(b.y, 22);
  EXPECT_EQ(b.sprite_base, 12);
  EXPECT_EQ(b.trail_style, 1);
  EXPECT_EQ(b.shot_speed, 2);
  for (const EnemyShot &s : enemy_shots) {
    EXPECT_EQ(s.width, 5);
    EXPECT_EQ(s.height, 7);
  }
}

TEST_F(BuildLayoutTest, EachLevelOfTheGroupReadsItsOwnPictureAndShotSize) {
  putpixel(layout(1), 0, 0, 3);
  putpixel(layout(2), 1, 0, 4);
  putpixel(layout(2), 2, 0, 4);
  level = 5;
  build_layout();
  EXPECT_EQ(enemy_count, 1);
  EXPECT_EQ(enemies[0].kind, 3);
  EXPECT_EQ(enemies[0].y, -10);
  EXPECT_EQ(enemy_shots[7].width, 6);
  level = 6;
  build_layout();
  EXPECT_EQ(enemy_count, 2);
  EXPECT_EQ(enemies[1].kind, 4);
  EXPECT_EQ(enemies[1].width, 32);
  EXPECT_EQ(enemy_shots[0].height, 6);
}

TEST_F(BuildLayoutTest, AKindOfAnotherGroupCountsButNeverPlays) {
  level = 1;
  putpixel(layout(0), 0, 0, 1);
  putpixel(layout(0), 1, 0, 7);
  build_layout();
  EXPECT_EQ(enemy_count, 2);
  EXPECT_EQ(enemies[0].active, 1);
  EXPECT_EQ(enemies[1].active, 0);
  EXPECT_EQ(enemies[1].kind, 7);
}

TEST_F(BuildLayoutTest, SlotsPastTheFortiethAreIgnored) {
  level = 1;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 20; ++i) putpixel(layout(0), i, j, 1);
  build_layout();
  EXPECT_EQ(enemy_count, 40);
  EXPECT_EQ(enemies[39].x, 12 * 19);
  EXPECT_EQ(enemies[39].y, 16 * 1 - 10);
  for (const Enemy &e : enemies) EXPECT_EQ(e.active, 1);
}

TEST_F(BuildLayoutTest, ASmallerPictureLeavesTheMissingSlotsEmpty) {
  level = 1;
  destroy_bitmap(layout(0));
  BITMAP *small = create_bitmap(4, 2);
  clear_to_color(small, 1);
  level_data[level_object::LAYOUTS].dat = small;
  build_layout();
  EXPECT_EQ(enemy_count, 8);
  EXPECT_EQ(enemies[7].x, 36);
  EXPECT_EQ(enemies[7].y, 6);
}

TEST_F(BuildLayoutTest, EnemiesOfAnEarlierLevelAreCleared) {
  level = 1;
  for (Enemy &e : enemies) e.active = 1;
  putpixel(layout(0), 0, 0, 2);
  build_layout();
  EXPECT_EQ(enemy_count, 1);
  for (int i = 1; i < MAX_ENEMIES; ++i) EXPECT_EQ(enemies[i].active, 0);
}
