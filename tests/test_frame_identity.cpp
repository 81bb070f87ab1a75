// The game's frame renderer against the straightforward way (every pixel
// through getpixel and putpixel, the glow blended pixel by pixel through
// color_map), byte for byte, on the generated level 1 datafile with its real
// palette and colour tables: the worst case in both particle styles,
// explosions and exhaust at every edge, particles off the screen, the bars
// and captions, and the glow on and off. (Frames of real play are pinned by
// the replays.)
#include "bench/reference_frame.h"
#include "bench/scenes.h"
#include "combat/explosions.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "tests/support/headless_game.h"
#include "world/enemies.h"

#include <string>

namespace {

class FrameIdentityTest : public HeadlessTest {
 protected:
  BITMAP *fast_frame = nullptr, *fast_glow = nullptr, *glow_before = nullptr;
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_open_display(DisplayRequest{1});
    make_frame_bitmaps();
    start_level_one();
    for (BITMAP **b : {&fast_frame, &fast_glow, &glow_before}) *b = create_bitmap(320, 240);
  }
  void TearDown() override {
    for (BITMAP *b : {fast_frame, fast_glow, glow_before}) destroy_bitmap(b);
    HeadlessTest::TearDown();
  }

  // Draws the scene both ways from the same glow layer (kept as it is when
  // the glow is off) and compares the frame and the layer.
  void expect_same_frame(const std::string &scene) {
    blit(glow_layer, glow_before, 0, 0, 0, 0, 320, 240);
    draw_frame();
    blit(back_buffer, fast_frame, 0, 0, 0, 0, 320, 240);
    blit(glow_layer, fast_glow, 0, 0, 0, 0, 320, 240);
    blit(glow_before, glow_layer, 0, 0, 0, 0, 320, 240);
    clear_to_color(back_buffer, 99);
    reference_draw_frame();
    EXPECT_EQ(pixel_difference(fast_frame, back_buffer), "") << scene << ": the frame";
    EXPECT_EQ(pixel_difference(fast_glow, glow_layer), "") << scene << ": the glow layer";
  }
};

}  // namespace

TEST_F(FrameIdentityTest, WorstCaseInBothStylesWithTheGlowOnAndOff) {
  for (int style : {1, 0}) {
    fill_worst_case(style);
    expect_same_frame(style ? "worst case, trails" : "worst case, blobs");
    option_glow = 0;
    putpixel(glow_layer, 10, 10, 222);  // a layer left alone must stay so
    expect_same_frame(style ? "worst case, trails, glow off" : "worst case, blobs, glow off");
    option_glow = 1;
  }
}

TEST_F(FrameIdentityTest, ExplosionsAndExhaustAtEveryEdgeAsTheyAgeAndLeave) {
  // Explosions of both styles centred on and next to every edge and corner,
  // and exhaust specks on every margin row and column.
  const int xs[] = {0, 1, 2, 3, 4, 160, 315, 316, 317, 318, 319};
  const int ys[] = {0, 1, 2, 3, 4, 120, 235, 236, 237, 238, 239};
  int n = 0;
  for (int x : xs)
    for (int y : ys)
      if (x <= 4 || x >= 315 || y <= 4 || y >= 235 || n == 0) {
        add_explosion(x, y, n % 5, n % 2);
        ++n;
      }
  const int spots[MAX_EXHAUST][2] = {{0, 100},  {1, 1},     {2, 238},  {3, 3},    {316, 120},
                                     {317, 0},  {318, 237}, {319, 239}, {160, 2}, {161, 236}};
  for (int i = 0; i < MAX_EXHAUST; ++i)
    exhaust[i] = ExhaustParticle{spots[i][0], spots[i][1], 0, 1, 5, 132, 1};
  // Fresh, spread, bounced off the bottom and gone past the sides, trails
  // shortened down to their heads and the rings shrunk to nothing.
  for (int ticks : {0, 1, 6, 25, 60, 40, 50}) {
    move_explosions_for(ticks);
    expect_same_frame("edges after more ticks: " + std::to_string(ticks));
  }
}

TEST_F(FrameIdentityTest, BarsCaptionsAndOptions) {
  fill_worst_case(1);
  reverse_ticks = 800;
  freeze_ticks = 250;
  demo_mode = DEMO_RUNNING;
  player.velocity = -2;
  expect_same_frame("bars and the demo caption");
  option_scroll = 0;
  option_stars = 0;
  player.state = SHIP_REAPPEARING;
  player.exhaust_frame = 2;
  reverse_ticks = 49;
  freeze_ticks = 9;
  expect_same_frame("scroll and stars off, ship reappearing");
  player.lives = 0;
  expect_same_frame("no lives left");
}
