// The frame renderer on a test level with a known palette: the bars at
// their edge values and the glow layer's blend. Everything else the frame
// shows is held pixel for pixel to the straightforward renderer
// (test_frame_identity.cpp).
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "tests/support/headless_game.h"
#include "world/enemies.h"

namespace {

class DrawFrameTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_open_display(DisplayRequest{1});
    install_level_one();
    option_stars = 0;
    option_glow = 0;
    player.x = 100;
    player.y = 214;
    player.lives = 3;
    player.state = 1;
    scroll_y = 719;
  }
  int at(int x, int y) { return getpixel(back_buffer, x, y); }
  // The background under (x, y) at the start of the scroll.
  static int background(int x, int y) { return getpixel(dat_bitmap(level_data, level_object::BACKGROUND), x, 719 + y); }
};

}  // namespace

// The reverse bar under the ship: 800 ticks fill columns sx + 1 to sx + 15
// inside the grey frame at sx and sx + 16; 49 leave it empty, 50 fill one
// column; none, no frame. The freeze bar at the top right: 250 fill 293 to
// 316 inside the frame at 317; 19 fill 292 and 293; 9 none.
TEST_F(DrawFrameTest, ReverseAndFreezeBarsAtTheirEdgeValues) {
  const int sx = player.x, row = player.y + 18, red = shade_colours[0], blue = shade_colours[2];
  const int grey = shade_colours[ramp::GREY * 8 + 2];
  reverse_ticks = 800;
  freeze_ticks = 250;
  draw_frame();
  for (int x = sx + 1; x <= sx + 15; ++x) EXPECT_EQ(at(x, row), red) << x;
  EXPECT_EQ(at(sx + 16, row), grey);
  EXPECT_EQ(at(sx + 5, player.y + 16), grey);
  for (int x = 293; x <= 316; ++x) EXPECT_EQ(at(x, 6), blue) << x;
  EXPECT_EQ(at(317, 6), grey);
  reverse_ticks = 49;
  freeze_ticks = 19;
  draw_frame();
  EXPECT_EQ(at(sx, row), grey);
  EXPECT_EQ(at(sx + 1, row), 0);
  EXPECT_EQ(at(293, 6), blue);
  EXPECT_NE(at(294, 6), blue);
  reverse_ticks = 50;
  freeze_ticks = 9;
  draw_frame();
  EXPECT_EQ(at(sx + 1, row), red);
  EXPECT_EQ(at(sx + 2, row), 0);
  EXPECT_NE(at(293, 6), blue);
  reverse_ticks = freeze_ticks = 0;
  draw_frame();
  EXPECT_EQ(at(sx + 5, player.y + 16), background(sx + 5, player.y + 16));
  EXPECT_EQ(at(300, 4), background(300, 4));
}

TEST_F(DrawFrameTest, GlowLayerBlendsThroughTheColourMapAndIndexZeroLeavesTheFrame) {
  option_glow = 1;
  player_shots[0] = PlayerShot{150, 100, 1, 2, 0, 0, 0, 4, 7, 7};
  draw_frame();
  // The halo: radius 9 in index 220 around (153, 103), radius 5 in 230.
  EXPECT_EQ(getpixel(glow_layer, 153 + 7, 103), 220);
  EXPECT_EQ(getpixel(glow_layer, 153 + 3, 103), 230);
  EXPECT_EQ(getpixel(glow_layer, 153 + 12, 103), 0);
  EXPECT_EQ(at(153 + 7, 103), trans_table.data[220][background(153 + 7, 103)]);
  // Far from any light the frame is the background untouched.
  EXPECT_EQ(at(300, 150), background(300, 150));
}
