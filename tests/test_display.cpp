// The display: the window that fits the desktop and its fallbacks,
// fullscreen centred on black, every frame scaled pixel for pixel with only
// the changed rows written, F11 both ways, two monitors, and the 60 Hz grid.
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/frame_grid.h"
#include "platform/platform.h"
#include "platform/presenter.h"
#include "tests/support/headless_game.h"

#include <array>
#include <utility>
#include <vector>

namespace {

class DisplayTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    make_frame_bitmaps();
    clear(back_buffer);
    putpixel(back_buffer, 10, 10, 5);
    putpixel(back_buffer, 319, 239, 7);
  }
  // The frame's two pixels as s x s blocks at (x, y), black around them.
  // The black left of the picture is looked at only when there is some.
  static void expect_picture(int s, int x, int y) {
    const int at[][3] = {{10 * s, 10 * s, 5},    {11 * s - 1, 11 * s - 1, 5}, {11 * s, 11 * s, 0},
                         {10 * s - 1, 10 * s, 0}, {319 * s, 239 * s, 7},      {320 * s - 1, 240 * s - 1, 7},
                         {-1, 239 * s, 0}};
    for (auto [dx, dy, colour] : at)
      EXPECT_TRUE(x + dx < 0 || getpixel(headless_twin.display, x + dx, y + dy) == colour) << dx << ", " << dy;
  }
};

}  // namespace

TEST_F(DisplayTest, WindowFitsTheDesktopFullscreenCentresAndRefusalsFallBack) {
  const struct {
    int desktop_w, desktop_h;
    DisplayRequest request;
    std::vector<std::pair<int, int>> refused;
    bool refuse_fullscreen;
    int w, h, scale, x, y;
  } cases[] = {
      {1920, 1080, {}, {}, false, 960, 720, 3, 0, 0},
      {3840, 2160, {}, {}, false, 2240, 1680, 7, 0, 0},
      {1920, 1080, {2, false}, {}, false, 640, 480, 2, 0, 0},
      {1920, 1080, {0, true}, {}, false, 1920, 1080, 4, 320, 60},
      {1920, 1080, {0, true}, {}, true, 960, 720, 3, 0, 0},
      {1920, 1080, {}, {{960, 720}}, false, 640, 480, 2, 0, 0},
      {0, 0, {}, {}, false, 640, 480, 2, 0, 0},
      {376, 283, {}, {}, false, 320, 240, 1, 0, 0},
      {375, 282, {}, {{320, 240}}, false, 640, 480, 2, 0, 0},
      {1920, 1080, {}, {{320, 240}, {640, 480}, {960, 720}}, false, 0, 0, 0, 0, 0},  // nothing left: refused
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.desktop_w << "x" << c.desktop_h << " scale " << c.request.scale
                                    << (c.request.fullscreen ? " fullscreen" : ""));
    headless::reset();
    headless::set_desktop(c.desktop_w, c.desktop_h);
    for (auto [w, h] : c.refused) headless_twin.refused.emplace_back(w, h);
    if (c.refuse_fullscreen) headless_twin.refuse_fullscreen = true;
    ASSERT_EQ(platform_open_display(c.request) == 0, c.w > 0);
    if (!c.w) continue;
    present_frame();
    ASSERT_EQ(headless_twin.display->w, c.w);
    ASSERT_EQ(headless_twin.display->h, c.h);
    expect_picture(c.scale, c.x, c.y);
    EXPECT_EQ(getpixel(platform_screen(), 10, 10), 5);
  }
}

TEST_F(DisplayTest, OnlyChangedRowsAreWrittenAndSwitchesRepaintEverything) {
  headless::set_desktop(1920, 1080);
  ASSERT_EQ(platform_open_display({}), 0);
  long at_open = presenter_rows_written();
  EXPECT_EQ(at_open, 240);
  for (long more : {2, 2, 3}) {  // the frame's two rows, then none, then a third
    if (more == 3) putpixel(back_buffer, 300, 100, 9);
    present_frame();
    EXPECT_EQ(presenter_rows_written(), at_open + more);
  }
  // F11 at the next wait, each way, the same picture, all of it written:
  // fullscreen as the desktop-sized window; without that window, the
  // library's fullscreen, the picture as large; a refused switch leaves the
  // window on, and the game going.
  const struct {
    bool HeadlessTwin::*refuse;
    void (*wait)();
    bool fullscreen, desktop_window;
  } switches[] = {{nullptr, present_frame, true, true},
                  {nullptr, platform_yield, false, false},
                  {&HeadlessTwin::refuse_fullscreen_window, present_frame, true, false},
                  {nullptr, platform_yield, false, false},
                  {&HeadlessTwin::refuse_fullscreen, present_frame, false, false}};
  for (const auto &s : switches) {
    if (s.refuse) headless_twin.*s.refuse = true;
    headless_twin.switch_asked = true;
    s.wait();
    EXPECT_TRUE(headless_twin.fullscreen == s.fullscreen && headless_twin.fullscreen_window == s.desktop_window);
    EXPECT_EQ(presenter_rows_written(), 240);
    s.fullscreen ? expect_picture(4, 320, 60) : expect_picture(3, 0, 0);
  }
  EXPECT_EQ(getpixel(headless_twin.display, 300 * 3, 100 * 3), 9);
  platform_clear_screen();
  EXPECT_EQ(getpixel(headless_twin.display, 30, 30), 0);
  EXPECT_EQ(getpixel(platform_screen(), 10, 10), 0);
}

// Two monitors of 1920 x 1080 on one screen: the window fits the game's
// monitor and is centred on it, fullscreen covers that monitor alone, F11
// follows the window's centre, and a window given another size shows the
// whole picture.
TEST_F(DisplayTest, OneMonitorOfTwoHoldsTheWindowAndFullscreen) {
  const ScreenRect left{0, 0, 1920, 1080}, right{1920, 0, 1920, 1080}, upper{0, 0, 1920, 1080},
      lower{0, 1080, 1920, 1080};
  auto screen_of = [](int w, int h, ScreenRect first, ScreenRect second, bool second_primary, int px, int py) {
    headless::reset();
    headless::set_desktop(w, h);
    add_monitor(headless_twin.monitors, first, false);
    add_monitor(headless_twin.monitors, second, second_primary);
    headless_twin.pointer_x = px, headless_twin.pointer_y = py;
  };
  // Where the window is, its size, and the picture's scale and place on it.
  auto expect_shown = [](int x, int y, int w, int h, int scale, int px, int py) {
    EXPECT_TRUE(headless_twin.window_x == x && headless_twin.window_y == y && headless_twin.display->w == w &&
                headless_twin.display->h == h)
        << headless_twin.display->w << "x" << headless_twin.display->h << " at " << headless_twin.window_x << ", "
        << headless_twin.window_y;
    expect_picture(scale, px, py);
  };
  auto open = [](DisplayRequest request) {
    ASSERT_EQ(platform_open_display(request), 0);
    present_frame();
  };
  auto f11 = [] {
    headless_twin.switch_asked = true;
    present_frame();
  };

  // Side by side, no primary: the pointer's monitor, the right one (the
  // seam's first column is the right monitor's).
  screen_of(3840, 1080, left, right, false, 1920, 0);
  open({});
  expect_shown(2400, 180, 960, 720, 3, 0, 0);
  f11();
  expect_shown(1920, 0, 1920, 1080, 4, 320, 60);
  f11();
  expect_shown(2400, 180, 960, 720, 3, 0, 0);
  // Dragged until its centre is one column left of the seam.
  headless_twin.window_x = 1919 - 480;
  f11();
  expect_shown(0, 0, 1920, 1080, 4, 320, 60);
  f11();
  expect_shown(480, 180, 960, 720, 3, 0, 0);

  // The library's own fullscreen covers the whole screen: the picture on
  // the game's monitor.
  screen_of(3840, 1080, left, right, false, 3000, 500);
  headless_twin.refuse_fullscreen_window = true;
  open({0, true});
  expect_shown(0, 0, 3840, 1080, 4, 2240, 60);

  // Stacked, the lower one primary: there, wherever the pointer is. A
  // window larger than its monitor keeps its corner on it.
  screen_of(1920, 2160, upper, lower, true, 10, 10);
  open({});
  expect_shown(480, 1260, 960, 720, 3, 0, 0);
  f11();
  expect_shown(0, 1080, 1920, 1080, 4, 320, 60);
  screen_of(1920, 2160, upper, lower, true, 10, 10);
  open({8, false});
  expect_shown(0, 1080, 2560, 1920, 8, 0, 0);

  // A window manager's size: smaller, the scale that fits, centred; larger,
  // the whole mode's picture. Seen at the next wait.
  screen_of(1920, 2160, upper, lower, true, 10, 10);
  open({});
  for (auto [w, h, scale, x, y] : {std::array{800, 500, 2, 80, 10}, std::array{1200, 800, 3, 0, 0}}) {
    headless_twin.window_w = w, headless_twin.window_h = h;
    present_frame();
    expect_shown(480, 1260, 960, 720, scale, x, y);
    EXPECT_TRUE(scale != 2 || getpixel(headless_twin.display, 959, 719) == 0) << "the larger picture left";
  }
}

// Deadlines at exact sixtieths of a second from the first wait; a late wait
// leaves at once, counts the deadlines it missed and anchors the grid anew.
TEST(FrameGridTest, DeadlinesDoNotDriftAndALateWaitReanchors) {
  FrameGrid grid;
  auto expect_wait = [&grid](long long now, long long until, int passed) {
    GridWait w = grid_wait(grid, now);
    EXPECT_TRUE(w.until == until && w.passed == passed) << now << ": " << w.until << ", " << w.passed;
  };
  const long long start = 5'000'000'000, ten = start + 10 * NS_PER_SECOND;
  const long long next = ten + 2 * NS_PER_SECOND / 60, late = next + NS_PER_SECOND / 60 + 1;
  expect_wait(start, start, 1);
  for (int k = 1; k < 600; ++k) grid_wait(grid, start + (k - 1) * NS_PER_SECOND / 60 + 1000);
  expect_wait(start + 599 * NS_PER_SECOND / 60 + 1000, ten, 1);
  expect_wait(ten, ten + NS_PER_SECOND / 60, 1);  // early again: the next deadline
  // Exactly on the deadline is in time; one nanosecond after it is late.
  expect_wait(next, next, 1);
  expect_wait(late, late, 1);
  // A stall of a quarter of a second: 15 deadlines in one wait, then the
  // grid runs from there.
  expect_wait(late + NS_PER_SECOND / 4 + 1, late + NS_PER_SECOND / 4 + 1, 15);
  expect_wait(late + NS_PER_SECOND / 4 + 2, late + NS_PER_SECOND / 4 + 1 + NS_PER_SECOND / 60, 1);
}
