// Soft dots on the test level. (Explosion particles, trails and blobs are
// held pixel for pixel to the straightforward renderer in
// test_frame_identity.cpp.)
#include "frame/colour_tables.h"
#include "render/effects.h"
#include "tests/support/headless_game.h"

namespace {

class EffectsTest : public HeadlessTest {
 protected:
  BITMAP *bmp = nullptr;
  int white = 0;
  void SetUp() override {
    HeadlessTest::SetUp();
    install_level_one();
    bmp = create_bitmap(320, 240);
    clear(bmp);
    white = shade_colours[ramp::GREY * 8];
  }
  void TearDown() override {
    destroy_bitmap(bmp);
    HeadlessTest::TearDown();
  }
  // The colour a soft dot gets from these five palette entries.
  static int average(int a, int b, int c, int d, int colour) {
    int r = (getr(a) + getr(b) + getr(c) + getr(d) + getr(colour)) / 5;
    int g = (getg(a) + getg(b) + getg(c) + getg(d) + getg(colour)) / 5;
    int bl = (getb(a) + getb(b) + getb(c) + getb(d) + getb(colour)) / 5;
    return makecol8(r, g, bl);
  }
};

}  // namespace

// On a white bitmap: a dot averages its four neighbours and its colour into
// a 3 x 3 block; a neighbour within two pixels of an edge counts as black.
TEST_F(EffectsTest, SoftDotAveragesItsNeighboursWithBlackNearTheEdges) {
  struct Case {
    int x, y, right, left, below, above;  // 1 where the neighbour counts
  };
  const Case cases[] = {{2, 100, 1, 0, 1, 1},   {3, 100, 1, 1, 1, 1},   {318, 238, 0, 1, 0, 1},
                        {317, 237, 1, 1, 1, 1}, {100, 2, 1, 1, 1, 0},   {100, 3, 1, 1, 1, 1}};
  for (const Case &c : cases) {
    clear_to_color(bmp, white);
    putpixel(bmp, c.x - 1, c.y + 1, 0);  // a corner, outside the four
    draw_soft_dot(bmp, c.x, c.y, white);
    int expected = average(c.above * white, c.below * white, c.left * white, c.right * white, white);
    EXPECT_EQ(getpixel(bmp, c.x, c.y), expected) << c.x << "," << c.y;
    EXPECT_EQ(getpixel(bmp, c.x - 1, c.y + 1), expected) << c.x << "," << c.y;
  }
  // Off the bitmap it is harmless; a block reaching onto it still shows.
  clear(bmp);
  draw_soft_dot(bmp, -40, -40, white);
  draw_soft_dot(bmp, 100, -1, white);
  draw_soft_dot(bmp, 100, 400, white);
  EXPECT_EQ(getpixel(bmp, 100, 0), average(0, 0, 0, 0, white));
  EXPECT_EQ(getpixel(bmp, 100, 1), 0);
}
