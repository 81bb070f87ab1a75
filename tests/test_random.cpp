#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/random.h"
#include "tests/support/headless_game.h"

using RandomTest = HeadlessTest;

TEST_F(RandomTest, DealsTheSameSequenceFromStateOne) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int e : expected) EXPECT_EQ(random_number(), e);
  EXPECT_EQ(random_draws, 10u);
}

TEST_F(RandomTest, StaysWithinFifteenBitsOverAFullRun) {
  for (int i = 0; i < 200000; ++i) {
    int r = random_number();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST_F(RandomTest, ResetGameFillsDirectionTableFromTwoHundredDraws) {
  reset_game();
  EXPECT_EQ(random_draws, 200u);
  // 41 % 100 = 41 -> 41 * 0.04 - 2 = -0.36; 18467 % 100 = 67 -> 0.68
  EXPECT_FLOAT_EQ(direction_table[0], -0.36f);
  EXPECT_FLOAT_EQ(direction_table[1], 0.68f);
  for (float d : direction_table) {
    EXPECT_GE(d, -2.0f);
    EXPECT_LE(d, 1.96f + 1e-6f);
  }
  EXPECT_EQ(player.lives, 3);
  EXPECT_EQ(player.max_speed, 2);
  EXPECT_EQ(player.weapon, 1);
  EXPECT_EQ(player.firepower, 3);
  EXPECT_EQ(level, 1);
}
