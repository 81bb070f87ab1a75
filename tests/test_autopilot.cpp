// The demo's autopilot and the demo loop.
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
    player.max_speed = 2;
    player.state = 1;
  }
};

TEST_F(AutopilotTest, BouncesOffTheLeftEdgeForTwoTicks) {
  player.x = 1;
  demo_steer = -5;
  autopilot_step();
  EXPECT_EQ(player.x, 0);
  EXPECT_EQ(demo_steer, 2);
  autopilot_step();
  EXPECT_EQ(player.x, 2);
  EXPECT_EQ(demo_steer, 1);
}

TEST_F(AutopilotTest, BouncesOffTheRightEdge) {
  player.x = 289;
  demo_steer = 9;
  autopilot_step();
  EXPECT_EQ(player.x, 290);
  EXPECT_EQ(demo_steer, -2);
}

TEST_F(AutopilotTest, DrawsANewRunWhenTheOldOneEnds) {
  player.x = 100;
  demo_steer = 1;
  uint64_t before = random_draws;
  autopilot_step();
  EXPECT_EQ(player.x, 102);
  // The first number of the sequence is 41: 41 % 50 - 25 = 16.
  EXPECT_EQ(demo_steer, 16);
  EXPECT_GE(random_draws, before + 1);
}

TEST_F(AutopilotTest, ARunOfZeroStandsStillForOneTick) {
  player.x = 100;
  demo_steer = 0;
  // Find a state whose next number gives 25 (a run of 0).
  uint32_t s = 1;
  for (;;) {
    uint32_t next = s * 214013u + 2531011u;
    if (((next >> 16) & 0x7fff) % 50 == 25) break;
    s = next;
  }
  random_state = s;
  player.state = -3;  // exploding: no fire request, so only the steering draws
  autopilot_step();
  EXPECT_EQ(player.x, 100);
  EXPECT_EQ(demo_steer, 0);
  autopilot_step();
  EXPECT_EQ(player.x, 100);
  EXPECT_NE(demo_steer, 0);
}

TEST_F(AutopilotTest, AKeyPressEndsTheDemo) {
  player.x = 100;
  demo_steer = 3;
  headless::press(KEY_SPACE, ' ');
  autopilot_step();
  EXPECT_EQ(level_end, 1);
}

TEST_F(AutopilotTest, DemoEndsOnAKeyAndASecondDemoInheritsTheSteering) {
  make_frame_bitmaps();
  platform_set_gfx_mode(320, 240);
  demo_steer = 1000;  // a long run left, never redrawn in this short demo
  headless::set_ticks_per_frame(0);  // ticks come from the loop's polling only
  long pressed_at = -1;
  headless::set_hook([&](const headless::Event &e) {
    if (headless::timer_installed() && pressed_at < 0 && e.kind == headless::Wait::Present) {
      pressed_at = e.frame;
      headless::press(KEY_SPACE, ' ');
    }
  });
  demo_mode = -1;
  // One enemy that is never placed: the level cannot complete on its own,
  // so only the key ends the demo.
  enemy_count = 1;
  enemies_destroyed = 0;
  run_demo();
  EXPECT_EQ(level_end, 1);
  EXPECT_FALSE(headless::timer_installed());
  EXPECT_EQ(headless::buffered_keys(), 0);  // the key buffer is cleared
  int steps = game_ticks;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(demo_steer, 1000 - steps);
  // A second demo starts from what the first left behind.
  int left = demo_steer;
  pressed_at = -1;
  run_demo();
  EXPECT_EQ(demo_steer, left - game_ticks);
}
