// The demo's autopilot and the demo loop.
#include "frame/autopilot.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/random.h"
#include "platform/platform.h"
#include "tests/support/headless_game.h"
#include "world/enemies.h"

class AutopilotTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    reset_game();
    player.state = SHIP_ALIVE;
  }
  void step_from(int x, int steer) {
    player.x = x;
    demo_steer = steer;
    autopilot_step();
  }
};

// (The left edge is pinned by the demo's replay.)
TEST_F(AutopilotTest, BouncesOffTheRightEdgeForTwoTicks) {
  step_from(289, 9);
  EXPECT_EQ(std::pair(player.x, demo_steer), std::pair(290, -2));
}

TEST_F(AutopilotTest, DemoEndsOnAKeyAndCarriesOnTheSteeringItInherits) {
  make_frame_bitmaps();
  platform_open_display(DisplayRequest{1});
  demo_steer = 1000;  // a long run left, never redrawn in this short demo
  headless_twin.ticks_per_frame = 0;  // ticks come from the loop's polling only
  bool pressed = false;
  headless::set_hook([&](const headless::Event &e) {
    if (headless::timer_installed() && !pressed && e.kind == Wait::Present) {
      pressed = true;
      headless::press(KEY_SPACE, ' ');
    }
  });
  run_demo();
  EXPECT_EQ(std::tuple(level_end, headless::timer_installed(), headless_twin.buffer.size()), std::tuple(LEVEL_GAME_OVER, false, 0));
  ASSERT_GT(game_ticks, 0);
  EXPECT_EQ(demo_steer, 1000 - game_ticks);  // what the last demo left is carried on
}
