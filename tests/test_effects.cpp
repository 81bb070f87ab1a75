// Soft dots, exhaust specks and explosion particles on the test level.
#include "combat/explosions.h"
#include "frame/colour_tables.h"
#include "frame/program.h"
#include "render/effects.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"
#include "world/world_tick.h"

namespace {

class EffectsTest : public HeadlessTest {
 protected:
  BITMAP *bmp = nullptr;
  void SetUp() override {
    HeadlessTest::SetUp();
    install_test_level();
    bmp = create_bitmap(320, 240);
    clear(bmp);
  }
  void TearDown() override {
    destroy_bitmap(bmp);
    HeadlessTest::TearDown();
  }
  // The colour a soft dot gets from these five palette entries.
  int average(int a, int b, int c, int d, int colour) {
    int r = (getr(a) + getr(b) + getr(c) + getr(d) + getr(colour)) / 5;
    int g = (getg(a) + getg(b) + getg(c) + getg(d) + getg(colour)) / 5;
    int bl = (getb(a) + getb(b) + getb(c) + getb(d) + getb(colour)) / 5;
    return makecol8(r, g, bl);
  }
};

}  // namespace

TEST_F(EffectsTest, SoftDotAveragesTheFourNeighboursAndFillsThreeByThree) {
  int white = shade_colours[16];
  putpixel(bmp, 51, 50, white);  // right
  putpixel(bmp, 50, 49, white);  // above
  draw_soft_dot(bmp, 50, 50, white);
  int expected = average(white, 0, 0, white, white);
  for (int y = 49; y <= 51; ++y)
    for (int x = 49; x <= 51; ++x) EXPECT_EQ(getpixel(bmp, x, y), expected);
  EXPECT_EQ(getpixel(bmp, 52, 50), 0);
}

TEST_F(EffectsTest, SoftDotNearTheEdgeAveragesWithBlackOnThatSide) {
  int white = shade_colours[16];
  clear_to_color(bmp, white);
  draw_soft_dot(bmp, 2, 100, white);  // x - 2 > 0 fails: left counts black
  EXPECT_EQ(getpixel(bmp, 2, 100), average(white, white, 0, white, white));
  clear_to_color(bmp, white);
  draw_soft_dot(bmp, 3, 100, white);
  EXPECT_EQ(getpixel(bmp, 3, 100), average(white, white, white, white, white));
  clear_to_color(bmp, white);
  draw_soft_dot(bmp, 318, 238, white);  // right and below count black
  EXPECT_EQ(getpixel(bmp, 318, 238), average(white, 0, white, 0, white));
  clear_to_color(bmp, white);
  draw_soft_dot(bmp, 317, 237, white);  // still well inside
  EXPECT_EQ(getpixel(bmp, 317, 237), average(white, white, white, white, white));
}

TEST_F(EffectsTest, SoftDotOffTheBitmapIsHarmless) {
  int white = shade_colours[16];
  draw_soft_dot(bmp, -40, -40, white);
  draw_soft_dot(bmp, 100, -1, white);
  draw_soft_dot(bmp, 100, 400, white);
  EXPECT_EQ(getpixel(bmp, 100, 0), average(0, 0, 0, 0, white));
}

TEST_F(EffectsTest, ExhaustSpecksCycleThroughRedShadesInRecordOrder) {
  for (int i = 0; i < MAX_EXHAUST; ++i)
    exhaust[i] = ExhaustParticle{10 + 20 * i, 100, 0, 1, 5, 132, i == 3 ? 0 : 1};
  draw_exhaust(bmp);
  // Live records 0,1,2,4,5,6,... take shades 1,2,3,4,0,1,...
  const int expected_shade[MAX_EXHAUST] = {1, 2, 3, -1, 4, 0, 1, 2, 3, 4};
  for (int i = 0; i < MAX_EXHAUST; ++i) {
    if (expected_shade[i] < 0) {
      EXPECT_EQ(getpixel(bmp, 10 + 20 * i, 100), 0);
      continue;
    }
    int c = shade_colours[expected_shade[i]];
    EXPECT_EQ(getpixel(bmp, 10 + 20 * i, 100), average(0, 0, 0, 0, c)) << i;
  }
}

TEST_F(EffectsTest, TrailStyleDrawsAHeadAndFadingTrailBlobStyleDrawsCircles) {
  Explosion &e = explosions[0];
  e = Explosion{};
  e.active = 1;
  Particle &p = e.particles[0];
  p = Particle{};
  p.active = 1;
  p.x = 100.7f;
  p.y = 50.2f;
  p.ramp = ramp::GREEN;
  p.trail_len = 6;
  for (int k = 0; k < 8; ++k) {
    p.trail_x[k] = 100 - 10 * (k + 1);
    p.trail_y[k] = 50;
  }
  e.trail_style = 1;
  draw_explosion(0, bmp);
  int head = shade_colours[8];
  EXPECT_EQ(getpixel(bmp, 100, 50), head);
  EXPECT_EQ(getpixel(bmp, 101, 51), head);
  EXPECT_EQ(getpixel(bmp, 102, 50), 0);
  // Five trail points (trail_len - 1), shades 1 to 5, newest first.
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(getpixel(bmp, 90 - 10 * k, 50), average(0, 0, 0, 0, shade_colours[8 + k + 1])) << k;
  EXPECT_EQ(getpixel(bmp, 40, 50), 0);

  clear(bmp);
  e.trail_style = 0;
  draw_explosion(0, bmp);
  // trail_len 6: radius 1, shade 1; no trail.
  EXPECT_EQ(getpixel(bmp, 100, 50), shade_colours[9]);
  EXPECT_EQ(getpixel(bmp, 101, 50), shade_colours[9]);
  EXPECT_EQ(getpixel(bmp, 90, 50), 0);
  clear(bmp);
  p.trail_len = 0;
  draw_explosion(0, bmp);
  EXPECT_EQ(getpixel(bmp, 100, 50), shade_colours[15]);
  EXPECT_EQ(getpixel(bmp, 101, 50), 0);
}

TEST_F(EffectsTest, DeadParticlesAreNotDrawn) {
  Explosion &e = explosions[0];
  e = Explosion{};
  e.active = 1;
  e.trail_style = 0;
  e.particles[0].x = 100;
  e.particles[0].y = 50;
  e.particles[0].trail_len = 6;
  e.particles[0].active = 0;
  draw_explosion(0, bmp);
  EXPECT_EQ(getpixel(bmp, 100, 50), 0);
}
