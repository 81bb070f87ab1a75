// The direct drawing of the frame's hot paths against the library calls it
// stands for: filled circles of every radius in and across every edge and a
// clip rectangle, boxes, and the blend of a glow layer. The straightforward
// renderer's circle is held to the library's too.
#include "bench/reference_frame.h"
#include "render/direct_draw.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"

#include <functional>

namespace {

using Draw = std::function<void(BITMAP *ours, BITMAP *theirs)>;

// Draws both ways over the same pattern of width x 240; the pixels that
// differ, with the first of them in `first`.
int differences(const Draw &draw, std::string &first, int width = 320) {
  BITMAP *ours = create_bitmap(width, 240), *theirs = create_bitmap(width, 240);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < width; ++x) {
      putpixel(ours, x, y, (x * 7 + y * 13) % 256);
      putpixel(theirs, x, y, (x * 7 + y * 13) % 256);
    }
  draw(ours, theirs);
  int n = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < width; ++x)
      if (getpixel(ours, x, y) != getpixel(theirs, x, y) && n++ == 0)
        first = std::to_string(x) + "," + std::to_string(y);
  destroy_bitmap(ours);
  destroy_bitmap(theirs);
  return n;
}

void clip_both(BITMAP *ours, BITMAP *theirs) {
  set_clip_rect(ours, 40, 30, 200, 150);
  set_clip_rect(theirs, 40, 30, 200, 150);
}

// Centres on the screen, on and next to every edge, and off it.
const int centre_xs[] = {-130, -5, 0, 1, 2, 3, 160, 316, 317, 318, 319, 320, 325, 450};
const int centre_ys[] = {-130, -5, 0, 1, 2, 120, 237, 238, 239, 240, 244, 370};

using DirectDrawTest = HeadlessTest;

}  // namespace

TEST_F(DirectDrawTest, CirclesOfEveryRadiusMatchTheLibraryInAndAcrossEveryEdgeAndClip) {
  for (bool clipped : {false, true})
    for (int r = 0; r <= 120; r += (r < 12 ? 1 : 7)) {
      std::string first;
      int n = differences(
          [&](BITMAP *ours, BITMAP *theirs) {
            if (clipped) clip_both(ours, theirs);
            for (int x : centre_xs)
              for (int y : centre_ys) {
                int colour = (r + x + y) & 255;
                fill_circle(ours, x, y, r, colour);
                circlefill(theirs, x, y, r, colour);
              }
          },
          first);
      ASSERT_EQ(n, 0) << "radius " << r << (clipped ? ", clipped" : "") << ", first at " << first;
      n = differences(
          [&](BITMAP *ours, BITMAP *theirs) {
            for (int x : centre_xs)
              for (int y : centre_ys) {
                reference_circlefill(ours, x, y, r, 77);
                circlefill(theirs, x, y, r, 77);
              }
          },
          first);
      ASSERT_EQ(n, 0) << "straightforward circle, radius " << r << ", first at " << first;
    }
}

TEST_F(DirectDrawTest, BoxesOnAndOffTheBitmapAndInAClipRectangle) {
  const int corners[][4] = {{-5, -5, 3, 3},     {316, 236, 330, 250}, {0, 0, 319, 0},
                            {10, 239, 12, 245}, {-9, 100, -1, 120},   {50, 60, 50, 60}};
  for (bool clipped : {false, true}) {
    std::string first;
    int n = differences(
        [&](BITMAP *ours, BITMAP *theirs) {
          if (clipped) clip_both(ours, theirs);
          for (const auto &c : corners) {
            fill_box(ours, c[0], c[1], c[2], c[3], 9);
            rectfill(theirs, c[0], c[1], c[2], c[3], 9);
          }
          for (int x : {20, 40, 41, 120, 199, 200, 230})
            for (int y : {10, 30, 31, 90, 149, 150, 170}) {
              fill_box(ours, x - 3, y - 2, x + 4, y + 1, 100);
              rectfill(theirs, x - 3, y - 2, x + 4, y + 1, 100);
            }
        },
        first);
    EXPECT_EQ(n, 0) << (clipped ? "clipped, " : "") << "first at " << first;
  }
}

TEST_F(DirectDrawTest, BlendOfAGlowLayerMatchesTheTranslucentSprite) {
  install_test_level();
  // Lit runs of every length and position against the eight-pixel steps,
  // lone pixels and index 0 in between; on a row width outside the step,
  // and onto a clipped bitmap.
  for (int width : {320, 317})
    for (bool clipped : {false, true}) {
      BITMAP *layer = create_bitmap(width, 240);
      clear(layer);
      for (int y = 0; y < 240; ++y)
        for (int x = 0; x < width; ++x)
          if ((x * 31 + y * 17) % 23 < y % 11 || x == width - 1 || (y == 5 && x < 9))
            putpixel(layer, x, y, 200 + (x + y) % 56);
      std::string first;
      int n = differences(
          [&](BITMAP *ours, BITMAP *theirs) {
            if (clipped) clip_both(ours, theirs);
            blend_layer(ours, layer);
            draw_trans_sprite(theirs, layer, 0, 0);
          },
          first, width);
      EXPECT_EQ(n, 0) << "width " << width << (clipped ? ", clipped" : "") << ", first at " << first;
      destroy_bitmap(layer);
    }
}
