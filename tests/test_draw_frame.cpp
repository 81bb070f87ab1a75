// The frame renderer on a test level with a known palette: draw order,
// bars at their edge values, the ship's states, the glow layer and options.
#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "render/effects.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"
#include "world/enemies.h"
#include "world/world_tick.h"

namespace {

class DrawFrameTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_set_gfx_mode(320, 240);
    install_test_level();
    option_stars = 0;
    player.x = 100;
    player.y = 214;
    player.lives = 3;
    player.state = 1;
    scroll_y = 719;
  }
  int at(int x, int y) { return getpixel(back_buffer, x, y); }
  int shade(int ramp_, int s) { return shade_colours[ramp_ * 8 + s]; }
};

}  // namespace

TEST_F(DrawFrameTest, BackgroundWindowFollowsScrollOnlyWhileScrollingIsOn) {
  option_glow = 0;
  draw_frame();
  // Row 0 of the frame is row 719 of the picture: colour 100 + 719 % 50.
  EXPECT_EQ(at(300, 100), 100 + (719 + 100) % 50);
  option_scroll = 0;
  draw_frame();
  EXPECT_EQ(at(300, 100), 100 + 100 % 50);
  EXPECT_EQ(headless::frames(), 2);
}

TEST_F(DrawFrameTest, ShipBanksWithVelocityBlinksWhileReappearingAndVanishesWhileExploding) {
  option_glow = 0;
  using namespace level_object;
  struct Case {
    int state, velocity, exhaust_frame, object;
  } cases[] = {{1, -2, 0, SHIP_LEFT}, {1, 0, 0, SHIP}, {1, 1, 2, SHIP_RIGHT},
               {-2, 0, 0, SHIP_BLINK}, {-2, 0, 2, SHIP}, {-3, 0, 0, -1}};
  for (const Case &c : cases) {
    player.state = c.state;
    player.velocity = c.velocity;
    player.exhaust_frame = c.exhaust_frame;
    draw_frame();
    int expected = c.object < 0 ? 100 + (719 + 222) % 50 : test_object_colour(c.object);
    EXPECT_EQ(at(108, 222), expected) << c.state << " " << c.velocity;
  }
}

TEST_F(DrawFrameTest, NoShipAndNoLivesIconWithNoLivesLeft) {
  option_glow = 0;
  player.lives = 2;
  draw_frame();
  EXPECT_EQ(at(3, 15), test_object_colour(level_object::SHIP));   // icon 1
  EXPECT_EQ(at(11, 15), test_object_colour(level_object::SHIP));  // icon 2
  EXPECT_NE(at(19, 15), test_object_colour(level_object::SHIP));  // no third
  player.lives = 0;
  draw_frame();
  EXPECT_NE(at(3, 15), test_object_colour(level_object::SHIP));
  EXPECT_NE(at(108, 222), test_object_colour(level_object::SHIP));
}

TEST_F(DrawFrameTest, ReverseBarAtItsEdgeValues) {
  option_glow = 0;
  int sx = player.x, row = player.y + 18;
  reverse_ticks = 800;
  draw_frame();
  for (int x = sx + 1; x <= sx + 15; ++x) EXPECT_EQ(at(x, row), shade(0, 0)) << x;
  EXPECT_EQ(at(sx + 16, row), shade(ramp::GREY, 2));  // the frame's right side
  EXPECT_EQ(at(sx + 5, player.y + 16), shade(ramp::GREY, 2));
  reverse_ticks = 49;  // 49 / 50 = 0: a single column at sx, under the frame
  draw_frame();
  EXPECT_EQ(at(sx, row), shade(ramp::GREY, 2));
  EXPECT_EQ(at(sx + 1, row), 0);
  reverse_ticks = 50;
  draw_frame();
  EXPECT_EQ(at(sx + 1, row), shade(0, 0));
  EXPECT_EQ(at(sx + 2, row), 0);
  reverse_ticks = 0;
  draw_frame();
  EXPECT_NE(at(sx + 5, player.y + 16), shade(ramp::GREY, 2));
}

TEST_F(DrawFrameTest, FreezeBarAtItsEdgeValues) {
  option_glow = 0;
  freeze_ticks = 250;
  draw_frame();
  for (int x = 293; x <= 316; ++x) EXPECT_EQ(at(x, 6), shade(0, 2)) << x;
  EXPECT_EQ(at(317, 6), shade(ramp::GREY, 2));
  freeze_ticks = 19;  // 19 / 10 = 1: columns 292 and 293
  draw_frame();
  EXPECT_EQ(at(293, 6), shade(0, 2));
  EXPECT_NE(at(294, 6), shade(0, 2));
  freeze_ticks = 9;
  draw_frame();
  EXPECT_NE(at(293, 6), shade(0, 2));
  freeze_ticks = 0;
  draw_frame();
  EXPECT_NE(at(300, 4), shade(ramp::GREY, 2));
}

TEST_F(DrawFrameTest, ShotsCapsulesRocksAndEnemiesAreDrawnFromTheirRecords) {
  option_glow = 0;
  using namespace level_object;
  player_shots[3] = PlayerShot{40, 100, 1, 2, 1, 0, 0, 4, 7, 7};
  enemy_shots[2] = EnemyShot{60, 100, 1, 2, 1, 0, 0, 2, 5, 7};
  capsules[1] = Capsule{80, 100, 1, 16, 0, 0, 2, capsule_kind::WEAPON, 12, 12};
  shield_rocks[0] = ShieldRock{50, 180, 3, -1, 0, 30, 16};
  shield_rocks[1] = ShieldRock{146, 180, 0, 0, 0, 30, 16};
  enemy_count = 2;
  enemies[0] = Enemy{};
  enemies[0].active = 1;
  enemies[0].x = 200;
  enemies[0].y = 50;
  enemies[0].sprite_base = 12;
  enemies[0].frame = 3;
  enemies[1] = enemies[0];
  enemies[1].x = 250;
  enemies[1].active = 0;
  draw_frame();
  EXPECT_EQ(at(43, 103), test_object_colour(PLAYER_SHOT + 1));
  EXPECT_EQ(at(62, 103), test_object_colour(ENEMY_SHOT + 1));
  EXPECT_EQ(at(86, 106), test_object_colour(capsule_kind::WEAPON));
  EXPECT_EQ(at(60, 185), test_object_colour(ROCK + 3));       // regrowing: drawn
  EXPECT_NE(at(155, 185), test_object_colour(ROCK));          // absent
  EXPECT_EQ(at(205, 55), test_object_colour(12 + 3));
  EXPECT_NE(at(255, 55), test_object_colour(12 + 3));         // not active
}

TEST_F(DrawFrameTest, GlowLayerBlendsThroughTheColourMapAndIndexZeroLeavesTheFrame) {
  option_glow = 1;
  player_shots[0] = PlayerShot{150, 100, 1, 2, 0, 0, 0, 4, 7, 7};
  draw_frame();
  // The halo: radius 9 in index 220 around (153, 103), radius 5 in 230.
  EXPECT_EQ(getpixel(glow_layer, 153 + 7, 103), 220);
  EXPECT_EQ(getpixel(glow_layer, 153 + 3, 103), 230);
  EXPECT_EQ(getpixel(glow_layer, 153 + 12, 103), 0);
  int under = 100 + (719 + 103) % 50;
  EXPECT_EQ(at(153 + 7, 103), trans_table.data[220][under]);
  // Far from any light the frame is the background untouched.
  EXPECT_EQ(at(300, 150), 100 + (719 + 150) % 50);
}

TEST_F(DrawFrameTest, GlowOffLeavesTheLayerAsItWasAndBlendsNothing) {
  option_glow = 0;
  clear_to_color(glow_layer, 0);
  putpixel(glow_layer, 10, 10, 222);
  player_shots[0] = PlayerShot{150, 100, 1, 2, 0, 0, 0, 4, 7, 7};
  draw_frame();
  EXPECT_EQ(getpixel(glow_layer, 10, 10), 222);
  EXPECT_EQ(getpixel(glow_layer, 160, 103), 0);
  EXPECT_EQ(at(160, 103), 100 + (719 + 103) % 50);
}

TEST_F(DrawFrameTest, ExplosionRingShrinksWithItsRadiusAndIsDrawnForBothStyles) {
  option_glow = 1;
  Explosion &e = explosions[5];
  e = Explosion{};
  e.active = 1;
  e.x = 100;
  e.y = 100;
  e.glow_radius = 10;
  for (int style : {0, 1}) {
    e.trail_style = style;
    draw_frame();
    EXPECT_EQ(getpixel(glow_layer, 109, 100), 235) << style;
    EXPECT_EQ(getpixel(glow_layer, 104, 100), 245) << style;
  }
  e.glow_radius = 0;
  draw_frame();
  EXPECT_EQ(getpixel(glow_layer, 100, 100), 0);
}

TEST_F(DrawFrameTest, DemoCaptionOnlyInTheDemo) {
  option_glow = 0;
  draw_frame();
  int without = at(30, 230);
  demo_mode = -1;
  draw_frame();
  // "DEMO MODE" starts at (0, 225): the 'E' glyph covers (12..21, 225..235).
  EXPECT_EQ(at(15, 230), test_object_colour(level_object::GLYPHS + 14));
  EXPECT_NE(without, at(15, 230));
}
