// The in-game keys where the recorded games do not go: Space and Left Ctrl
// as fire keys, the pause by a lost focus (none with --no-focus-pause) or by
// P still held with Esc, and the screenshot. (Friction, acceleration,
// reverse control, the edges, the fire latch with Alt, Esc and the pause by
// P are pinned by the replays.)
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "platform/platform_ops.h"
#include "tests/support/headless_game.h"


namespace {

class ControlsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();  // also again for each case of a test
    platform_open_display(DisplayRequest{1});
    install_level_one();
    reset_game();
    player.x = 100;
    player.state = SHIP_ALIVE;
  }
  void tick(std::initializer_list<int> held) {
    headless::release_all();
    for (int k : held) headless::hold(k);
    controls_step();
  }
};

}  // namespace

TEST_F(ControlsTest, SpaceAndLeftCtrlFireOneVolleyAPress) {
  tick({KEY_SPACE});
  tick({KEY_SPACE});
  EXPECT_EQ(player.shots_in_flight, 1);
  tick({});
  tick({KEY_LCONTROL});
  EXPECT_EQ(player.shots_in_flight, 2);
}

// The timer stops, the PAUSE caption shrinks in and grows out over the
// frozen picture (18 + 18 frames), the pause waits for P (not at all while
// it is still held), clears the key buffer and leaves the frozen picture in
// the back buffer, where the game over goes on from it after Esc.
TEST_F(ControlsTest, ALostFocusOrPHeldWithEscPauseOverTheFrozenPicture) {
  const struct {
    const char *what;
    std::vector<int> held;
    bool focus_lost;
    long yields;  // waits for P; P comes on the 50th, with the focus
  } cases[] = {
      {"lost focus", {KEY_LEFT}, true, 50}, {"P held with Esc", {KEY_P, KEY_ESC}, false, 0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    platform_install_timer(timer_tick);
    long yields = 0;
    headless::set_hook([&](const headless::Event &e) {
      if (e.kind == Wait::Present && c.yields > 0 && yields == 0) headless::hold(KEY_P, false);
      if (e.kind == Wait::Yield && ++yields == 50) headless::set_focus(true), headless::hold(KEY_P);
    });
    clear_to_color(headless::screen(), 77);
    headless::press(KEY_A);
    for (int k : c.held) headless::hold(k);
    headless::set_focus(!c.focus_lost);
    EXPECT_FALSE(platform_key(KEY_LEFT)) << "a key held as the focus goes is let go";
    controls_step();
    EXPECT_EQ(std::tuple(headless::frames(), yields, int(game_ticks), logic_timer.installs, headless_twin.buffer.size()),
              std::tuple(36L, c.yields, 0, 2, 0));
    EXPECT_EQ(getpixel(back_buffer, 319, 239), 77);
    EXPECT_EQ(level_end, c.held.size() > 1 ? LEVEL_GAME_OVER : LEVEL_PLAYING);
  }
}

// --no-focus-pause: another window taking the focus neither pauses the game
// nor lets go of the keys held.
TEST_F(ControlsTest, WithoutFocusPauseALostFocusNeitherPausesNorReleasesKeys) {
  platform_open_display(DisplayRequest{1, false, false});
  headless::hold(KEY_LEFT);
  headless::set_focus(false);
  controls_step();
  EXPECT_EQ(std::pair(headless::frames(), player.velocity), std::pair(0L, -1));
}
