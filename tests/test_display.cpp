// The display: the window that fits the desktop and its fallbacks,
// fullscreen centred on black, every frame scaled pixel for pixel with only
// the changed rows written, F11 both ways, two monitors, and the 60 Hz grid.
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/display/frame_pacer.h"
#include "platform/display/presenter.h"
#include "platform/platform.h"
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
      {1920, 1080, {5, false}, {}, false, 1280, 960, 4, 0, 0},  // the largest that 1080 rows hold
      {640, 480, {3, false}, {}, false, 640, 480, 2, 0, 0},
      {640, 480, {3, false, true, true}, {}, false, 320, 240, 1, 0, 0},  // a recorded scale: within 85%
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

// One screen, then two monitors of 1920 x 1080 on one: the window fits the
// game's monitor and is centred on it, fullscreen covers that monitor alone, F11
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

  // One screen, no monitors listed: the window centred on it.
  headless::reset();
  headless::set_desktop(1920, 1080);
  open({});
  expect_shown(480, 180, 960, 720, 3, 0, 0);

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

  // Stacked, the lower one primary: there, wherever the pointer is.
  screen_of(1920, 2160, upper, lower, true, 10, 10);
  open({});
  expect_shown(480, 1260, 960, 720, 3, 0, 0);
  f11();
  expect_shown(0, 1080, 1920, 1080, 4, 320, 60);
  // Asked at a scale its monitor cannot hold: the largest it holds.
  screen_of(1920, 2160, upper, lower, true, 10, 10);
  open({8, false});
  expect_shown(320, 1140, 1280, 960, 4, 0, 0);

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

namespace {

constexpr long long MS = NS_PER_MS;

// A display refreshing every `period` ns from refresh 1000 at 10 s, its
// reports `jitter` ns late on every other refresh (as Xvfb's are), fed to
// the pacer for `refreshes` refreshes.
FramePacer pacer_after(double period, int refreshes, long long jitter = MS) {
  FramePacer pacer;
  for (int k = 0; k < refreshes; ++k) {
    long long ust = 10 * NS_PER_SECOND + static_cast<long long>(k * period) + (k % 2) * jitter;
    pacer_refresh(pacer, 1000 + k, ust, ust);
  }
  return pacer;
}

}  // namespace

// The beat learnt from the refreshes reported: at 60, 120 and 240 Hz (1%
// off included) one step every 1, 2 or 4 refreshes, each wait ending the
// margin before its refresh; at 144 and 75 Hz and 63 Hz the grid, each frame
// aimed at the first refresh it can make; at Xvfb's 1 Hz, or before a
// quarter second of reports, frames at once on the grid.
TEST(FramePacerTest, LocksToTheRatesThatCarryWholeStepsAndKeepsTheGridAtOthers) {
  const struct {
    double hz;
    int refreshes;
    PaceMode mode;
    int divisor;
  } cases[] = {{60, 40, PaceMode::Locked, 1},     {59.5, 40, PaceMode::Locked, 1},
               {60.55, 40, PaceMode::Locked, 1},  {120, 80, PaceMode::Locked, 2},
               {240, 160, PaceMode::Locked, 4},   {144, 90, PaceMode::AtRefresh, 0},
               {75, 40, PaceMode::AtRefresh, 0},  {63, 40, PaceMode::AtRefresh, 0},
               {60, 14, PaceMode::AtOnce, 0},     {1, 3, PaceMode::AtOnce, 0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.hz << " Hz, " << c.refreshes << " refreshes");
    double period = NS_PER_SECOND / c.hz;
    FramePacer pacer = pacer_after(period, c.refreshes);
    long long last = 1000 + c.refreshes - 1, now = 10 * NS_PER_SECOND + static_cast<long long>((c.refreshes - 1) * period);
    PacedWait first = pacer_wait(pacer, now + MS);
    EXPECT_EQ(pacer.mode, c.mode);
    EXPECT_EQ(pacer.divisor, c.divisor);
    EXPECT_EQ(first.at_once, c.mode == PaceMode::AtOnce);
    if (c.mode == PaceMode::AtOnce) continue;
    EXPECT_NEAR(pacer_period(pacer), period, period / 500);
    // Each wait ends FIRST_MARGIN before its refresh (the grid's: before the
    // refresh its frame is aimed at).
    PacedWait w = first;
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(w.passed, 1);
      EXPECT_NEAR(w.until, pacer_time_of(pacer, w.target) - FIRST_MARGIN, c.mode == PaceMode::Locked ? MS : period);
      EXPECT_GE(pacer_time_of(pacer, w.target) - FIRST_MARGIN, w.until);
      long long before = w.target;
      w = pacer_wait(pacer, w.until + MS / 2);
      if (c.mode == PaceMode::Locked) {
        EXPECT_EQ(w.target - before, c.divisor);
      }
    }
    EXPECT_GT(first.target, last);
  }
}

// Locked: a late wait passes every step whose deadline went by, at once;
// a frame shown a refresh late though sent before its deadline raises the
// margin (at most a step less 1 ms); a refresh asked for and overdue by
// 50 ms stalls the lock back to the grid; one report off the line is left
// out, three in a row are another display, learnt anew.
TEST(FramePacerTest, CatchesUpWhenLateLearnsItsMarginAndFallsBackWhenRefreshesStall) {
  const double period = NS_PER_SECOND / 60.0;
  FramePacer pacer = pacer_after(period, 40);
  PacedWait w = pacer_wait(pacer, pacer_time_of(pacer, 1040) - 10 * MS);
  ASSERT_EQ(pacer.mode, PaceMode::Locked);
  long long target = w.target;
  w = pacer_wait(pacer, pacer_time_of(pacer, target + 3) - FIRST_MARGIN + MS);
  EXPECT_TRUE(w.passed == 3 && w.target == target + 3) << w.passed << " " << w.target - target;

  pacer_shown(pacer, w.target, w.target, 3 * MS);      // in time: nothing learnt
  pacer_shown(pacer, w.target, w.target + 1, -1 * MS);  // sent late: our fault
  EXPECT_EQ(pacer.margin, FIRST_MARGIN);
  pacer_shown(pacer, w.target, w.target + 1, 3 * MS);
  EXPECT_NEAR(pacer.margin, 3 * MS + period / 4, 10'000);
  pacer_shown(pacer, w.target, w.target + 1, 15 * MS);
  EXPECT_NEAR(pacer.margin, period - MS, 10'000);

  long long due = pacer_time_of(pacer, w.target + 2);
  pacer_asked(pacer, w.target + 2, due - 10 * MS);
  pacer_wait(pacer, due + BEAT_STALL - MS);
  EXPECT_EQ(pacer.mode, PaceMode::Locked);
  EXPECT_TRUE(pacer_wait(pacer, due + BEAT_STALL + MS).at_once);
  EXPECT_EQ(pacer_period(pacer), 0);

  // A report a quarter period off the line: left out once; three: anew.
  pacer = pacer_after(period, 40);
  long long off = pacer_time_of(pacer, 1040) + static_cast<long long>(period / 3);
  pacer_refresh(pacer, 1040, off, off);
  EXPECT_EQ(pacer.beat.count, 40);
  pacer_refresh(pacer, 1041, off + static_cast<long long>(period), off);
  pacer_refresh(pacer, 1042, off + static_cast<long long>(2 * period), off);
  EXPECT_EQ(pacer.beat.count, 1);
  EXPECT_EQ(pacer_period(pacer), 0);
}

// Word of a refresh is asked for while the beat is being learnt (the next
// refresh each time, the current one first), then only when the latest
// report is half a second old, and never while one is awaited.
TEST(FramePacerTest, AsksForWordOfRefreshesOnlyWhileLearningOrWhenTheLatestIsOld) {
  FramePacer pacer;
  EXPECT_EQ(pacer_notify_wanted(pacer, 0), 0);
  pacer_asked(pacer, 0, 0);
  EXPECT_EQ(pacer_notify_wanted(pacer, 0), -1);
  pacer_refresh(pacer, 500, -1, MS);
  EXPECT_EQ(pacer_notify_wanted(pacer, MS), 501);
  pacer = pacer_after(NS_PER_SECOND / 60.0, 40);
  long long latest = pacer.beat.last_seen;
  EXPECT_EQ(pacer_notify_wanted(pacer, latest + BEAT_REFRESH_AGE - 1), -1);
  // A refresh soon to come: after the one now due.
  long long asked = pacer_notify_wanted(pacer, latest + BEAT_REFRESH_AGE);
  long long ahead = pacer_time_of(pacer, asked) - (latest + BEAT_REFRESH_AGE);
  EXPECT_TRUE(ahead > 0 && ahead <= 2 * pacer_period(pacer)) << ahead;
}

namespace {

// A display of two buffers taken in turn (none while `full`), each 640 x 480
// of 32-bit pixels, red in the high byte; what each send wrote.
struct TwoBuffers {
  PictureBuffer buffers[2];
  std::vector<uint32_t> pixels[2];
  int taken = 0, sends = 0, first_row = 0, last_row = 0;
  bool full = false;
};
TwoBuffers two;

PictureBuffer *take_buffer() { return two.full ? nullptr : &two.buffers[two.taken++ % 2]; }
void send_buffer(PictureBuffer *, int, int, int first_row, int last_row) {
  ++two.sends;
  two.first_row = first_row, two.last_row = last_row;
}

// Whether the buffer holds the logical screen scaled by 2 in the palette.
bool holds_picture(int b, const RGB *palette) {
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const RGB &c = palette[getpixel(platform_screen(), x / 2, y / 2)];
      uint32_t want = (_rgb_scale_6[c.r] << 16) | (_rgb_scale_6[c.g] << 8) | _rgb_scale_6[c.b];
      if (two.pixels[b][y * 640 + x] != want) return false;
    }
  return true;
}

}  // namespace

// Through a display's own buffers (the X Present extension): each buffer
// gets the rows it lacks since it was last written, not since the last
// frame; new colours rewrite it whole; a still frame sends nothing; a frame
// without a free buffer waits and goes when one comes free.
TEST_F(DisplayTest, EachBufferOfTheDisplayIsBroughtUpToDate) {
  clear(back_buffer);
  for (int b = 0; b < 2; ++b) {
    two.pixels[b].assign(640 * 480, 0);
    two.buffers[b].pixels = reinterpret_cast<uint8_t *>(two.pixels[b].data());
    two.buffers[b].pitch = 640 * 4;
  }
  PALETTE palette;
  for (int i = 0; i < 256; ++i) palette[i] = {static_cast<unsigned char>(i % 64), 0, static_cast<unsigned char>(63 - i % 64), 0};
  presenter_attach_buffers({640, 480, {0xff0000, 0xff00, 0xff}, take_buffer, send_buffer}, palette, {0, 0, 640, 480});
  EXPECT_TRUE(two.first_row == 0 && two.last_row == 479);  // buffer 0: all of it
  const struct {
    int row;          // a row the frame changes; -1 none
    int first, last;  // rows of the buffer written (of its 480)
    int sends;
  } frames[] = {{50, 0, 479, 2},    // buffer 1, never written: all
                {100, 100, 201, 3}, // buffer 0: rows 50 and 100 since it was written
                {-1, 100, 201, 3},  // nothing changed: nothing sent
                {25, 50, 201, 4}};  // buffer 1: rows 25 and 100
  for (const auto &f : frames) {
    if (f.row >= 0) hline(back_buffer, 0, f.row, 319, f.row % 7 + 1);
    present_frame();
    EXPECT_TRUE(two.sends == f.sends && two.first_row == f.first && two.last_row == f.last)
        << f.row << ": " << two.sends << " " << two.first_row << ".." << two.last_row;
  }
  EXPECT_TRUE(holds_picture(1, palette));
  palette[0].r = 63;
  presenter_set_palette(palette);
  EXPECT_TRUE(two.first_row == 0 && two.last_row == 479 && holds_picture(0, palette));
  two.full = true;
  hline(back_buffer, 0, 7, 319, 9);
  present_frame();
  EXPECT_EQ(two.sends, 5);
  two.full = false;
  presenter_send_held_back();
  EXPECT_TRUE(two.sends == 6 && holds_picture(1, palette));
  presenter_detach();
}
