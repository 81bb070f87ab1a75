// The display: the window that fits the desktop and its fallbacks,
// fullscreen centred on black, every frame scaled pixel for pixel with only
// the changed rows written, F11 both ways, and the 60 Hz grid.
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/frame_grid.h"
#include "platform/platform.h"
#include "platform/presenter.h"
#include "tests/support/headless_game.h"

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
  static void expect_picture(int s, int x, int y) {
    BITMAP *d = headless::display();
    EXPECT_EQ(getpixel(d, x + 10 * s, y + 10 * s), 5);
    EXPECT_EQ(getpixel(d, x + 11 * s - 1, y + 11 * s - 1), 5);
    EXPECT_EQ(getpixel(d, x + 11 * s, y + 11 * s), 0);
    EXPECT_EQ(getpixel(d, x + 10 * s - 1, y + 10 * s), 0);
    EXPECT_EQ(getpixel(d, x + 319 * s, y + 239 * s), 7);
    EXPECT_EQ(getpixel(d, x + 320 * s - 1, y + 240 * s - 1), 7);
    if (x > 0) {
      EXPECT_EQ(getpixel(d, x - 1, y + 239 * s), 0);
    }
  }
};

struct ModeCase {
  int desktop_w, desktop_h;
  DisplayRequest request;
  std::vector<std::pair<int, int>> refused;
  bool refuse_fullscreen;
  int w, h, scale, x, y;
};

}  // namespace

TEST_F(DisplayTest, WindowFitsTheDesktopFullscreenCentresAndRefusalsFallBack) {
  const ModeCase cases[] = {
      {1920, 1080, {}, {}, false, 960, 720, 3, 0, 0},
      {3840, 2160, {}, {}, false, 2240, 1680, 7, 0, 0},
      {1920, 1080, {2, false}, {}, false, 640, 480, 2, 0, 0},
      {1920, 1080, {0, true}, {}, false, 1920, 1080, 4, 320, 60},
      {1920, 1080, {0, true}, {}, true, 960, 720, 3, 0, 0},
      {1920, 1080, {}, {{960, 720}}, false, 640, 480, 2, 0, 0},
      {0, 0, {}, {}, false, 640, 480, 2, 0, 0},
      {376, 283, {}, {}, false, 320, 240, 1, 0, 0},
      {375, 282, {}, {{320, 240}}, false, 640, 480, 2, 0, 0},
  };
  for (const ModeCase &c : cases) {
    SCOPED_TRACE(testing::Message() << c.desktop_w << "x" << c.desktop_h << " scale " << c.request.scale
                                    << (c.request.fullscreen ? " fullscreen" : ""));
    headless::reset();
    headless::set_desktop(c.desktop_w, c.desktop_h);
    for (auto [w, h] : c.refused) headless::refuse_mode(w, h);
    if (c.refuse_fullscreen) headless::refuse_fullscreen();
    ASSERT_EQ(platform_open_display(c.request), 0);
    present_frame();
    ASSERT_EQ(headless::display()->w, c.w);
    ASSERT_EQ(headless::display()->h, c.h);
    expect_picture(c.scale, c.x, c.y);
    EXPECT_EQ(getpixel(platform_screen(), 10, 10), 5);
  }
  headless::reset();
  for (int s = 1; s <= 3; ++s) headless::refuse_mode(320 * s, 240 * s);
  headless::refuse_mode(640, 480);
  headless::set_desktop(1920, 1080);
  EXPECT_NE(platform_open_display({}), 0);
}

TEST_F(DisplayTest, OnlyChangedRowsAreWrittenAndSwitchesRepaintEverything) {
  headless::set_desktop(1920, 1080);
  ASSERT_EQ(platform_open_display({}), 0);
  long at_open = presenter_rows_written();
  EXPECT_EQ(at_open, 240);
  present_frame();
  EXPECT_EQ(presenter_rows_written(), at_open + 2);
  present_frame();
  EXPECT_EQ(presenter_rows_written(), at_open + 2);
  putpixel(back_buffer, 300, 100, 9);
  present_frame();
  EXPECT_EQ(presenter_rows_written(), at_open + 3);
  // F11 at the next wait: fullscreen (the desktop-sized window), the same
  // picture, all of it written.
  headless::press_f11();
  present_frame();
  EXPECT_TRUE(headless::fullscreen_window());
  EXPECT_EQ(presenter_rows_written(), 240);
  expect_picture(4, 320, 60);
  EXPECT_EQ(getpixel(headless::display(), 320 + 300 * 4, 60 + 100 * 4), 9);
  headless::press_f11();
  platform_yield();
  EXPECT_FALSE(headless::fullscreen());
  expect_picture(3, 0, 0);
  // No desktop-sized window: the library's fullscreen, the picture as large.
  headless::refuse_fullscreen_window();
  headless::press_f11();
  present_frame();
  EXPECT_TRUE(headless::fullscreen());
  EXPECT_FALSE(headless::fullscreen_window());
  expect_picture(4, 320, 60);
  headless::press_f11();
  platform_yield();
  // A refused switch leaves the window on, and the game going.
  headless::refuse_fullscreen();
  headless::press_f11();
  present_frame();
  EXPECT_FALSE(headless::fullscreen());
  EXPECT_EQ(headless::display()->w, 960);
  expect_picture(3, 0, 0);
  platform_clear_screen();
  EXPECT_EQ(getpixel(headless::display(), 30, 30), 0);
  EXPECT_EQ(getpixel(platform_screen(), 10, 10), 0);
}

// Deadlines at exact sixtieths of a second from the first wait; a late wait
// leaves at once, counts the deadlines it missed and anchors the grid anew.
TEST(FrameGridTest, DeadlinesDoNotDriftAndALateWaitReanchors) {
  FrameGrid grid;
  const long long start = 5'000'000'000;
  GridWait w = grid_wait(grid, start);
  EXPECT_EQ(w.until, start);
  EXPECT_EQ(w.passed, 1);
  for (int k = 1; k <= 600; ++k) w = grid_wait(grid, start + (k - 1) * NS_PER_SECOND / 60 + 1000);
  EXPECT_EQ(w.until, start + 10 * NS_PER_SECOND);
  EXPECT_EQ(w.passed, 1);
  // Early again: the next deadline.
  w = grid_wait(grid, start + 10 * NS_PER_SECOND);
  EXPECT_EQ(w.until, start + 10 * NS_PER_SECOND + NS_PER_SECOND / 60);
  // Exactly on the deadline is in time; one nanosecond after it is late.
  long long next = start + 10 * NS_PER_SECOND + 2 * NS_PER_SECOND / 60;
  w = grid_wait(grid, next);
  EXPECT_EQ(w.until, next);
  EXPECT_EQ(w.passed, 1);
  long long late = next + NS_PER_SECOND / 60 + 1;
  w = grid_wait(grid, late);
  EXPECT_EQ(w.until, late);
  EXPECT_EQ(w.passed, 1);
  // A stall of a quarter of a second: 15 deadlines in one wait, then the
  // grid runs from there.
  w = grid_wait(grid, late + NS_PER_SECOND / 4 + 1);
  EXPECT_EQ(w.passed, 15);
  w = grid_wait(grid, late + NS_PER_SECOND / 4 + 2);
  EXPECT_EQ(w.until, late + NS_PER_SECOND / 4 + 1 + NS_PER_SECOND / 60);
}
