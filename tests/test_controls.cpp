// The in-game keys: friction, acceleration, reverse control, the fire latch,
// Esc, the pause with its caption and the screenshot.
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "tests/support/data_files.h"
#include "tests/support/headless_game.h"

#include <filesystem>

namespace {

class ControlsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_open_display(DisplayRequest{1});
    install_level_one();
    player.x = 100;
    player.max_speed = 2;
    player.state = 1;
    player.firepower = 3;
    player.weapon = 1;
  }
  void tick(std::initializer_list<int> held) {
    headless::release_all();
    for (int k : held) headless::hold(k);
    controls_step();
  }
};

}  // namespace

TEST_F(ControlsTest, AccelerationIsCappedAndFrictionActsEverySecondTick) {
  tick({KEY_RIGHT});  // friction tick 1: none; +1
  tick({KEY_RIGHT});  // friction: 1 -> 0, then +1
  EXPECT_EQ(player.x, 102);
  for (int t = 0; t < 3; ++t) tick({KEY_RIGHT});  // capped at max_speed
  EXPECT_EQ(player.velocity, 2);
  for (int t = 0; t < 4; ++t) tick({});  // friction before the move: 2 -> 1, 1, 0, 0
  EXPECT_EQ(player.velocity, 0);
  EXPECT_EQ(player.x, 102 + 2 + 2 + 2 + 1 + 1);

  player.velocity = 4;  // above a lowered maximum: only friction slows it
  tick({KEY_RIGHT});
  tick({KEY_RIGHT});
  EXPECT_EQ(player.velocity, 3);
}

TEST_F(ControlsTest, BothArrowsCancelReverseControlDriftsBackAndTheEdgeClampsOnlyThePosition) {
  tick({KEY_LEFT, KEY_RIGHT});
  EXPECT_EQ(player.velocity, 0);
  reverse_ticks = 10;
  tick({KEY_LEFT});
  EXPECT_EQ(player.velocity, -1);
  EXPECT_EQ(player.x, 101);  // drifts right although the speed points left
  reverse_ticks = 0;
  player.x = 289;
  player.velocity = 2;
  tick({KEY_RIGHT});
  EXPECT_EQ(player.x, 290);
  EXPECT_EQ(player.velocity, 2);
}

TEST_F(ControlsTest, FireLatchAsksForOneVolleyPerPressAndNoneWhileExploding) {
  tick({KEY_ALT});
  tick({KEY_ALT});
  EXPECT_EQ(player.shots_in_flight, 1);
  tick({});
  player.state = -3;
  tick({KEY_ALT});
  EXPECT_EQ(fire_held, 0);
  player.state = -2;  // reappearing ships may fire
  tick({KEY_ALT});
  EXPECT_EQ(player.shots_in_flight, 2);
}

// Space and Left Ctrl fire as Alt does, one volley a press; another window
// taking the focus pauses the game as P does, and P on return resumes it.
TEST_F(ControlsTest, SpaceAndLeftCtrlFireAndLosingTheFocusPauses) {
  tick({KEY_SPACE});
  tick({KEY_SPACE});
  EXPECT_EQ(player.shots_in_flight, 1);
  tick({});
  tick({KEY_LCONTROL});
  EXPECT_EQ(player.shots_in_flight, 2);
  platform_install_timer(timer_tick);
  headless::set_hook([](const headless::Event &e) {
    if (e.kind != headless::Wait::Yield) return;
    headless::set_focus(true);
    headless::hold(KEY_P);
  });
  headless::hold(KEY_LEFT);
  headless::set_focus(false);
  EXPECT_FALSE(platform_key(KEY_LEFT));
  controls_step();
  EXPECT_EQ(headless::frames(), 36);
  EXPECT_EQ(headless::timer_installs(), 2);
}

TEST_F(ControlsTest, PauseStopsTheTimerShowsEighteenPlusEighteenFramesAndResumes) {
  platform_install_timer(timer_tick);
  int ticks_before = game_ticks;
  long yields = 0;
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind == headless::Wait::Yield && ++yields == 50) headless::hold(KEY_P);
    if (e.kind == headless::Wait::Present) headless::hold(KEY_P, yields >= 50);
  });
  headless::press(KEY_A);
  tick({KEY_P});  // the hook releases P at the first caption frame
  EXPECT_EQ(headless::frames(), 36);
  EXPECT_EQ(yields, 50);
  EXPECT_EQ(game_ticks, ticks_before);
  EXPECT_EQ(headless::buffered_keys(), 0);
  EXPECT_EQ(headless::timer_installs(), 2);
}

TEST_F(ControlsTest, EscAndPStillHeldPauseWithoutWaitingThenEndTheGameOverTheSnapshot) {
  platform_install_timer(timer_tick);
  long yields = 0;
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind == headless::Wait::Yield) ++yields;
  });
  clear_to_color(headless::screen(), 77);
  clear(back_buffer);
  tick({KEY_ESC, KEY_P});
  EXPECT_EQ(yields, 0);
  EXPECT_EQ(headless::frames(), 36);
  EXPECT_EQ(level_end, 1);
  EXPECT_EQ(getpixel(back_buffer, 319, 239), 77);
}

// In a window at scale 2 the screenshot is still the whole 320 x 240 picture
// last presented, not the corner of the window.
TEST_F(ControlsTest, F12WritesTheWholeLastPictureOnEveryTickItIsHeld) {
  ScratchFolder dir;
  std::filesystem::path start = std::filesystem::current_path();
  std::filesystem::current_path(dir.path);
  platform_open_display(DisplayRequest{2});
  clear_to_color(back_buffer, 6);
  rectfill(back_buffer, 0, 0, 159, 119, 5);
  present_frame();
  for (int t = 0; t < 2; ++t) {
    std::filesystem::remove("dump.pcx");
    tick({KEY_F12});
    ASSERT_TRUE(std::filesystem::exists("dump.pcx")) << t;
  }
  PALETTE pal;
  BITMAP *shot = load_pcx("dump.pcx", pal);
  std::filesystem::current_path(start);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(shot->w, 320);
  EXPECT_EQ(getpixel(shot, 159, 119), 5);
  EXPECT_EQ(getpixel(shot, 319, 239), 6);
  destroy_bitmap(shot);
}
