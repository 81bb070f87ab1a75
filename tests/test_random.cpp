#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/random.h"
#include "tests/support/headless_game.h"

using RandomTest = HeadlessTest;

TEST_F(RandomTest, DealsTheSameSequenceFromStateOneAndCountsEveryDraw) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int e : expected) EXPECT_EQ(random_number(), e);
  EXPECT_EQ(random_draws, 10u);
  random_state = 0x7fffffff;  // the top bits of the state are masked off
  for (int i = 0; i < 1000; ++i) ASSERT_LE(random_number(), 32767);
}

TEST_F(RandomTest, ResetGameFillsDirectionTableFromTwoHundredDraws) {
  reset_game();
  EXPECT_EQ(random_draws, 200u);
  // 41 % 100 = 41 -> 41 * 0.04 - 2 = -0.36; 18467 % 100 = 67 -> 0.68
  EXPECT_FLOAT_EQ(direction_table[0], -0.36f);
  EXPECT_FLOAT_EQ(direction_table[1], 0.68f);
  EXPECT_EQ(player.lives, 3);
  EXPECT_EQ(level, 1);
}
