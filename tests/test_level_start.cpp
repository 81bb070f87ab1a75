// The formation from a layout picture the start-up check refuses (more than
// forty enemies, a kind of another group, or smaller than 20 x 15,
// CatalogueTest): should one get through, the enemy records stay in bounds,
// the foreign kind never plays (its sprites are not in the datafile) and
// slots outside the picture stay empty. (What level start does with the pictures the check passes is
// pinned by the stored replays.)
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "tests/support/headless_game.h"
#include "world/enemies.h"

TEST_F(HeadlessTest, SlotsPastTheFortiethAndForeignKindsAreIgnoredAndASmallPictureLeavesTheRestEmpty) {
  install_level_one();
  BITMAP *layout = dat_bitmap(level_data, level_object::LAYOUTS);
  clear(layout);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 20; ++i) putpixel(layout, i, j, 1);
  putpixel(layout, 0, 0, 7);
  build_layout();
  EXPECT_EQ(enemy_count, 40);
  EXPECT_TRUE(enemies[0].kind == 7 && enemies[0].active == 0 && enemies[1].active == 1);
  destroy_bitmap(layout);
  BITMAP *small = create_bitmap(4, 2);
  clear_to_color(small, 1);
  level_data[level_object::LAYOUTS].dat = small;
  build_layout();
  EXPECT_EQ(enemy_count, 8);
}
