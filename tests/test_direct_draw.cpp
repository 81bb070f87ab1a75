// The direct drawing of the frame's hot paths against the library calls it
// stands for, shape by shape: filled circles of every radius in and across
// every edge and a clip rectangle, boxes, and the blend of a glow layer.
// The straightforward renderer's circle is held to the library's too.
#include "bench/reference_frame.h"
#include "render/direct_draw.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"

#include <cstring>
#include <functional>

namespace {

class DirectDrawTest : public HeadlessTest {
 protected:
  BITMAP *ours = nullptr, *theirs = nullptr;
  void SetUp() override {
    HeadlessTest::SetUp();
    ours = create_bitmap(320, 240);
    theirs = create_bitmap(320, 240);
  }
  void TearDown() override {
    destroy_bitmap(ours);
    destroy_bitmap(theirs);
    HeadlessTest::TearDown();
  }
  // Both bitmaps start from the same pattern.
  void fill_pattern() {
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) {
        int c = (x * 7 + y * 13) % 256;
        putpixel(ours, x, y, c);
        putpixel(theirs, x, y, c);
      }
  }
  // Pixels that differ, with the first of them for the message.
  int differences(std::string &first) {
    int n = 0;
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x)
        if (getpixel(ours, x, y) != getpixel(theirs, x, y) && n++ == 0)
          first = std::to_string(x) + "," + std::to_string(y);
    return n;
  }
};

// Centres on the screen, on and next to every edge, and off it.
const int centre_xs[] = {-130, -5, 0, 1, 2, 3, 160, 316, 317, 318, 319, 320, 325, 450};
const int centre_ys[] = {-130, -5, 0, 1, 2, 120, 237, 238, 239, 240, 244, 370};

}  // namespace

TEST_F(DirectDrawTest, CirclesOfEveryRadiusMatchTheLibraryInAndAcrossEveryEdge) {
  for (int r = 0; r <= 120; r += (r < 12 ? 1 : 7)) {
    fill_pattern();
    for (int x : centre_xs)
      for (int y : centre_ys) {
        int colour = (r + x + y) & 255;
        fill_circle(ours, x, y, r, colour);
        circlefill(theirs, x, y, r, colour);
      }
    std::string first;
    ASSERT_EQ(differences(first), 0) << "radius " << r << ", first at " << first;
  }
}

TEST_F(DirectDrawTest, TheStraightforwardCircleMatchesTheLibraryToo) {
  for (int r = 0; r <= 100; r += (r < 12 ? 1 : 11)) {
    fill_pattern();
    for (int x : centre_xs)
      for (int y : centre_ys) {
        reference_circlefill(ours, x, y, r, 77);
        circlefill(theirs, x, y, r, 77);
      }
    std::string first;
    ASSERT_EQ(differences(first), 0) << "radius " << r << ", first at " << first;
  }
}

TEST_F(DirectDrawTest, CirclesAndBoxesKeepInsideAClipRectangle) {
  fill_pattern();
  set_clip_rect(ours, 40, 30, 200, 150);
  set_clip_rect(theirs, 40, 30, 200, 150);
  for (int x : {20, 40, 41, 120, 199, 200, 230})
    for (int y : {10, 30, 31, 90, 149, 150, 170}) {
      fill_circle(ours, x, y, 25, 200);
      circlefill(theirs, x, y, 25, 200);
      fill_box(ours, x - 3, y - 2, x + 4, y + 1, 100);
      rectfill(theirs, x - 3, y - 2, x + 4, y + 1, 100);
    }
  std::string first;
  EXPECT_EQ(differences(first), 0) << "first at " << first;
}

TEST_F(DirectDrawTest, BoxesOnAndOffTheBitmap) {
  fill_pattern();
  const int corners[][4] = {{-5, -5, 3, 3},     {316, 236, 330, 250}, {0, 0, 319, 0},
                            {10, 239, 12, 245}, {-9, 100, -1, 120},   {50, 60, 50, 60}};
  for (const auto &c : corners) {
    fill_box(ours, c[0], c[1], c[2], c[3], 9);
    rectfill(theirs, c[0], c[1], c[2], c[3], 9);
  }
  std::string first;
  EXPECT_EQ(differences(first), 0) << "first at " << first;
}

TEST_F(DirectDrawTest, BlendOfAGlowLayerMatchesTheTranslucentSprite) {
  install_test_level();
  BITMAP *layer = create_bitmap(320, 240);
  clear(layer);
  // Lit runs of every length and position against the eight-pixel steps,
  // lone pixels, and index 0 in between.
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      if ((x * 31 + y * 17) % 23 < y % 11 || x == 319 || (y == 5 && x < 9))
        putpixel(layer, x, y, 200 + (x + y) % 56);
  fill_pattern();
  blend_layer(ours, layer);
  draw_trans_sprite(theirs, layer, 0, 0);
  std::string first;
  EXPECT_EQ(differences(first), 0) << "first at " << first;
  destroy_bitmap(layer);
}

TEST_F(DirectDrawTest, BlendOfARowWidthOutsideTheEightPixelStep) {
  install_test_level();
  BITMAP *layer = create_bitmap(317, 3), *a = create_bitmap(317, 3), *b = create_bitmap(317, 3);
  int under = 1;
  while (color_map->data[230][under] == under) ++under;  // one that the light changes
  clear_to_color(a, under);
  clear_to_color(b, under);
  clear(layer);
  for (int x = 305; x < 317; ++x) putpixel(layer, x, 1, 230);
  blend_layer(a, layer);
  draw_trans_sprite(b, layer, 0, 0);
  for (int x = 300; x < 317; ++x) EXPECT_EQ(getpixel(a, x, 1), getpixel(b, x, 1)) << x;
  EXPECT_NE(getpixel(a, 316, 1), under);
  destroy_bitmap(layer);
  destroy_bitmap(a);
  destroy_bitmap(b);
}

TEST_F(DirectDrawTest, BlendOntoAClippedBitmapGoesTheLibrarysWay) {
  install_test_level();
  BITMAP *layer = create_bitmap(320, 240);
  clear_to_color(layer, 220);
  fill_pattern();
  set_clip_rect(ours, 10, 10, 100, 100);
  set_clip_rect(theirs, 10, 10, 100, 100);
  blend_layer(ours, layer);
  draw_trans_sprite(theirs, layer, 0, 0);
  std::string first;
  EXPECT_EQ(differences(first), 0) << "first at " << first;
  EXPECT_EQ(getpixel(ours, 5, 5), (5 * 7 + 5 * 13) % 256);  // outside the clip: untouched
  destroy_bitmap(layer);
}
