// The thirty-star field: scattering, stepping by layer, wrapping, drawing.
#include "frame/random.h"
#include "render/starfield.h"
#include "tests/support/level_reset.h"
#include "tests/support/world_test.h"

class StarfieldTest : public WorldTest {};

TEST_F(StarfieldTest, ScatteringDrawsThreeNumbersAStarAndTakesTheLayerGrey) {
  init_stars();
  EXPECT_EQ(draws(), 90u);
  EXPECT_EQ(stars[0].x, 41 % 320);
  EXPECT_EQ(stars[0].y, 18467 % 240);
  EXPECT_EQ(stars[0].layer, 6334 % 4);
  for (const Star &s : stars) {
    EXPECT_EQ(s.colour, TEST_GREY_INDEX[s.layer]);
    EXPECT_EQ(s.delay, s.layer + 2);
  }
}

TEST_F(StarfieldTest, NearStarsStepEveryThirdTickFarOnesEverySixthAndRow240WrapsToANewColumn) {
  for (Star &s : stars) s = {5, 100, 3, 1, 5};
  stars[0] = {10, 100, 0, 1, 2};
  stars[4] = {5, 240, 0, 1, 0};
  int first_move[2] = {0, 0};
  for (int tick = 1; tick <= 6; ++tick) {
    step_stars();
    if (tick == 1) {
      EXPECT_EQ(draws(), 1u);
      EXPECT_EQ(stars[4].y, 0);
      EXPECT_EQ(stars[4].x, 41);
    }
    for (int i = 0; i < 2; ++i)
      if (!first_move[i] && stars[i].y == 101) first_move[i] = tick;
  }
  EXPECT_EQ(first_move[0], 3);
  EXPECT_EQ(first_move[1], 6);

  BITMAP *b = create_bitmap(320, 240);
  clear(b);
  draw_stars(b);
  EXPECT_EQ(getpixel(b, 10, 102), 1);
  destroy_bitmap(b);
}
