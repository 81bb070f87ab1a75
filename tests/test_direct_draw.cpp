// The direct drawing of the frame's hot paths against the library calls it
// stands for: filled circles of every radius in and across every edge and a
// clip rectangle, and the blend of a glow layer. The straightforward
// renderer's circle is held to the library's too.
#include "bench/reference_frame.h"
#include "render/direct_draw.h"
#include "tests/support/headless_game.h"

#include <functional>

namespace {

// Draws on a bitmap: the direct way when `ours`, else the library's way.
using Draw = std::function<void(BITMAP *b, bool ours)>;

// Draws both ways over the same pattern of width x 240; how they differ.
std::string difference(const Draw &draw, bool clipped, int width = 320) {
  BITMAP *both[2] = {create_bitmap(width, 240), create_bitmap(width, 240)};
  for (int k = 0; k < 2; ++k) {
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < width; ++x) putpixel(both[k], x, y, (x * 7 + y * 13) % 256);
    if (clipped) set_clip_rect(both[k], 40, 30, 200, 150);
    draw(both[k], k == 0);
  }
  std::string d = pixel_difference(both[0], both[1]);
  destroy_bitmap(both[0]);
  destroy_bitmap(both[1]);
  return d;
}

// Centres on the screen, on and next to every edge, and off it.
const int centre_xs[] = {-130, -5, 0, 1, 2, 3, 160, 316, 317, 318, 319, 320, 325, 450};
const int centre_ys[] = {-130, -5, 0, 1, 2, 120, 237, 238, 239, 240, 244, 370};

using DirectDrawTest = HeadlessTest;

}  // namespace

// Also the straightforward renderer's circle (unclipped), against the same.
TEST_F(DirectDrawTest, CirclesOfEveryRadiusMatchTheLibraryInAndAcrossEveryEdgeAndClip) {
  for (int way = 0; way < 3; ++way)
    for (int r = 0; r <= 120; r += (r < 12 ? 1 : 7)) {
      std::string d = difference(
          [&](BITMAP *b, bool ours) {
            for (int x : centre_xs)
              for (int y : centre_ys) {
                int colour = (r + x + y) & 255;
                if (!ours)
                  circlefill(b, x, y, r, colour);
                else if (way < 2)
                  fill_circle(b, x, y, r, colour);
                else
                  reference_circlefill(b, x, y, r, colour);
              }
          },
          way == 1);
      ASSERT_EQ(d, "") << "way " << way << ", radius " << r;
    }
}

TEST_F(DirectDrawTest, BlendOfAGlowLayerMatchesTheTranslucentSprite) {
  install_level_one();
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
      std::string d = difference(
          [&](BITMAP *b, bool ours) { ours ? blend_layer(b, layer) : draw_trans_sprite(b, layer, 0, 0); }, clipped,
          width);
      EXPECT_EQ(d, "") << "width " << width << (clipped ? ", clipped" : "");
      destroy_bitmap(layer);
    }
}
