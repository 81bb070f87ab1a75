// The title menu, the options screen, the attract cycle with the bonus
// screen, and the ending, on the generated datafiles.
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/level_start.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "screens/bonus_screen.h"
#include "screens/depth_stars.h"
#include "screens/ending.h"
#include "render/glyph_text.h"
#include "screens/title.h"
#include "tests/support/headless_game.h"

#include <algorithm>

namespace {

class TitleTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    make_frame_bitmaps();
    platform_open_display(DisplayRequest{1});
    sound_data = nullptr;
  }
  static int count_samples(int object, int frequency, bool stop = false) {
    const auto &s = headless::samples();
    return static_cast<int>(std::count_if(s.begin(), s.end(), [&](const headless::SampleCall &c) {
      return c.object == object && c.stop == stop && (stop || c.frequency == frequency);
    }));
  }
  static int moves() { return count_samples(sound_object::MENU_CLICK, 1000); }
  static int selections() { return count_samples(sound_object::MENU_CLICK, 2000); }
};

// The options overlay is the only thing that fills glow_layer with 60, and
// it does so on every frame: wipe it after looking.
bool on_options_screen() {
  bool seen = getpixel(glow_layer, 0, 0) == 60;
  clear(glow_layer);
  return seen;
}

}  // namespace

TEST_F(TitleTest, WithNoKeyTheBonusScreenComesAtFrame1000AndTheDemoAfter1600) {
  long bonus_first = -1, bonus_frames = 0;
  KeyScript()
      .on_event([&](const headless::Event &e) {
        if (e.kind != headless::Wait::Present || !bonus_data) return;
        if (bonus_first < 0) bonus_first = e.frame;
        ++bonus_frames;
      })
      .install();
  EXPECT_EQ(show_title_screen(), 2);
  EXPECT_EQ(bonus_first, 1000);  // 999 title frames, then the bonus screen
  EXPECT_EQ(bonus_frames, 1000);
  EXPECT_EQ(headless::frames(), 1600 + 1000);
  EXPECT_EQ(selections(), 1);  // also on time-out
  EXPECT_EQ(title_data, nullptr);
  const auto &tune = headless::samples().front();
  EXPECT_TRUE(tune.object == sound_object::TUNE && tune.volume == 160 && tune.frequency == 1000 && tune.loop == 1);
}

TEST_F(TitleTest, AHeldArrowMovesOnceTheMenuStopsAtBothEndsAndFireStillHeldSwitchesTheFirstOption) {
  option_key_held = 0;
  KeyScript()
      .hold(KEY_DOWN, 5, 60)
      .hold(KEY_DOWN, 70, 80)
      .hold(KEY_DOWN, 90, 100)  // already at item 3: no move
      .hold(KEY_UP, 105, 106)
      .hold(KEY_UP, 110, 111)
      .hold(KEY_UP, 115, 116)   // already at item 1: no move
      .hold(KEY_DOWN, 118, 118)
      .hold(KEY_ALT, 120, 121)  // into the options, still down on their first frame
      .hold(KEY_ESC, 130, 130)
      .hold(KEY_DOWN, 140, 140)
      .hold(KEY_ALT, 150, 150)  // quit
      .install();
  EXPECT_EQ(show_title_screen(), 1);
  EXPECT_EQ(moves(), 6);
  EXPECT_EQ(option_glow, 0);
  EXPECT_EQ(selections(), 3);  // the options, switching row 0, quit
}

TEST_F(TitleTest, OptionsCursorWrapsEscKeepsTheTitlesFramesAndMusicOffStopsTheTune) {
  long options_frames = 0, bonus_first = -1;
  KeyScript()
      .hold(KEY_DOWN, 3, 4)
      .hold(KEY_ALT, 10, 10)  // into the options, released before its first input
      .hold(KEY_UP, 20, 21)   // row 0 -> row 4
      .hold(KEY_ALT, 30, 31)  // switch shot collisions off
      .hold(KEY_UP, 40, 41)
      .hold(KEY_UP, 45, 46)   // row 2: music
      .hold(KEY_ALT, 50, 51)
      .hold(KEY_ESC, 60, 61)
      .on_event([&](const headless::Event &e) {
        if (e.kind != headless::Wait::Present) return;
        if (on_options_screen()) ++options_frames;
        if (bonus_data && bonus_first < 0) bonus_first = e.frame;
      })
      .install();
  option_cursor = 0;
  EXPECT_EQ(show_title_screen(), 2);  // ends when the demo is due
  EXPECT_TRUE(option_shot_collisions == 0 && option_music == 0 && option_glow == 1);
  EXPECT_EQ(count_samples(sound_object::TUNE, 0, true), 1);
  // Options frames 11 to 60; the title's own count went on across the
  // visit, so its frame 1000 comes after 999 title and 50 options frames.
  EXPECT_EQ(options_frames, 50);
  EXPECT_EQ(bonus_first, 999 + 50 + 1);
}

TEST_F(TitleTest, DatafilesGoneWhileTheGameRunsStopItWithStatusOne) {
  setenv("SWARMFIRE_DATA", "/nonexistent", 1);
  const std::pair<void (*)(), const char *> screens[] = {
      {[] { show_title_screen(); }, "title.dat"},
      {show_bonus_screen, "bonus.dat"},
      {show_ending, "enddat.dat"}};
  for (const auto &[screen, file] : screens) {
    try {
      screen();
      ADD_FAILURE() << file << " was not missed";
    } catch (const MissingData &missing) {
      EXPECT_EQ(missing.file, file);
    }
  }
  EXPECT_TRUE(title_data == nullptr && bonus_data == nullptr && ending_data == nullptr);
  EXPECT_EQ(headless::frames(), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(game_main(), 1);
  std::string err = testing::internal::GetCapturedStderr();
  unsetenv("SWARMFIRE_DATA");
  EXPECT_EQ(err.rfind("swarmfire: sound.dat: ", 0), 0u) << err;  // the first the program loads
  EXPECT_EQ(headless::shut_downs(), 1);
}

TEST_F(TitleTest, TheBonusScreenIgnoresAnEarlierKeyAndLeavesTheKeyThatEndsItForTheTitle) {
  headless::press(KEY_SPACE);
  KeyScript().press(KEY_SPACE, 30).install();
  show_bonus_screen();
  EXPECT_EQ(headless::frames(), 30);  // it lasts 1000 frames untouched (the attract cycle above)
  EXPECT_EQ(headless::buffered_keys(), 1);
  EXPECT_EQ(bonus_data, nullptr);
}

// Record 200 is never drawn; the others at 256 / (256 - z) of their place
// from the centre.
TEST(DepthStars, TwoHundredAreDrawnAtTheirDepth) {
  headless::reset();
  BITMAP *b = create_bitmap(320, 240);
  clear(b);
  for (DepthStar &s : depth_stars) s = DepthStar{10, 10, 128, 9};
  depth_stars[200] = DepthStar{-20, 0, 0, 7};
  draw_depth_stars(b);
  EXPECT_EQ(getpixel(b, 160 + 20, 120 - 20), 9);
  EXPECT_EQ(getpixel(b, 140, 120), 0);
  destroy_bitmap(b);
}

TEST_F(TitleTest, EndingTitleGrowsFor384FramesTheSpinGoesOnAndAKeyEndsItWithAFiftyOneFrameZoom) {
  int growth_frames = 0;
  float last = 0;
  KeyScript()
      .press(KEY_SPACE, 500)
      .on_event([&](const headless::Event &e) {
        if (e.kind != headless::Wait::Present || !ending_data || ending_title_scale == last) return;
        growth_frames = int(e.frame);
        last = ending_title_scale;
      })
      .install();
  ending_spin = 8;  // where the last ending left it
  ending_spin_tick = 0;
  show_ending();
  EXPECT_EQ(growth_frames, 384);
  EXPECT_EQ(ending_spin, (8 + 125 * 4) % 260);  // 125 turns of 4, wrapping past 256
  EXPECT_EQ(headless::frames(), 500 + 51);
  EXPECT_EQ(ending_data, nullptr);
  EXPECT_EQ(headless::buffered_keys(), 1);
}
