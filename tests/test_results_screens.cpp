// Level results, game over and final results: phases counted in presented
// frames, the bonus, keys that cut short or are discarded, and samples.
#include "frame/catalogue.h"
#include "frame/game_over.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "screens/final_results.h"
#include "screens/level_results.h"
#include "tests/support/headless_game.h"
#include "tests/support/test_level.h"

namespace {

class ResultsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_set_gfx_mode(320, 240);
    install_test_level();
    player.score = 1234;
    player.life_points = 100;
    level = 5;
  }
  void level_results(int fired, int hit) {
    shots_fired = fired;
    shots_hit = hit;
    show_level_results();
  }
};

constexpr int SLIDE = 50, SPIN = 91;

}  // namespace

TEST_F(ResultsTest, FlawlessLevelDoublesTheBonusAndCountsItInTwoHundredFrames) {
  KeyScript().press(KEY_SPACE, 300).install();
  level_results(20, 20);
  // slide-in, 200 count frames, the final picture, idle until frame 300,
  // then the spin-away.
  EXPECT_EQ(headless::frames(), 300 + SPIN);
  EXPECT_EQ(player.score, 1234 + 2000);
  EXPECT_EQ(player.life_points, 100 + 2000);
  EXPECT_EQ(headless::buffered_keys(), 0);
}

TEST_F(ResultsTest, PercentageIsTruncatedAndTheBonusIsTenTimesIt) {
  // 20 of 30 is 66%: 660 points, 66 count frames. A key on the frame after
  // the final picture ends the idle phase there.
  KeyScript().press(KEY_SPACE, SLIDE + 66 + 2).install();
  level_results(30, 20);
  EXPECT_EQ(player.score, 1234 + 660);
  EXPECT_EQ(headless::frames(), SLIDE + 66 + 2 + SPIN);
}

TEST_F(ResultsTest, NoHitsOrNoShotsGiveNoBonusAndNoCount) {
  for (int fired : {3, 0}) {
    headless::reset();
    platform_set_gfx_mode(320, 240);
    KeyScript().press(KEY_SPACE, SLIDE + 2).install();
    level_results(fired, 0);
    EXPECT_EQ(player.score, 1234) << fired;
    EXPECT_EQ(headless::frames(), SLIDE + 2 + SPIN) << fired;
  }
}

TEST_F(ResultsTest, AKeyDuringTheCountEndsItYetTheWholeBonusIsAwarded) {
  // Count frames are 51..250; a key at frame 60 ends the count there, the
  // final picture follows, the buffer is emptied and a second key is needed.
  KeyScript().press(KEY_SPACE, 60).press(KEY_ENTER, 100).install();
  level_results(20, 20);
  EXPECT_EQ(player.score, 1234 + 2000);
  EXPECT_EQ(headless::frames(), 100 + SPIN);
}

TEST_F(ResultsTest, KeysDuringTheSlideInAreDiscarded) {
  KeyScript().press(KEY_SPACE, 10).press(KEY_ENTER, 400).install();
  level_results(20, 20);
  EXPECT_EQ(headless::frames(), 400 + SPIN);
}

TEST_F(ResultsTest, TheLevelPaletteIsSetAndTheBackBufferLeftClear) {
  KeyScript().press(KEY_SPACE, SLIDE + 2).install();
  level_results(1, 0);
  EXPECT_EQ(getpixel(back_buffer, 160, 120), 0);
  EXPECT_GE(headless::palette_sets(), 1);
}

TEST_F(ResultsTest, GameOverGrowsFiftyFramesWaitsForAKeyAndSpinsAHundred) {
  long waited_at = -1;
  KeyScript()
      .on_event([&](const headless::Event &e) {
        if (e.kind == headless::Wait::ReadKey && waited_at < 0) {
          waited_at = e.frame;
          headless::press(KEY_SPACE);
        }
      })
      .install();
  game_over();
  EXPECT_EQ(waited_at, 50);
  EXPECT_EQ(headless::frames(), 150);
  EXPECT_EQ(headless::fades_out(), 1);
  const auto &s = headless::samples();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_TRUE(s[0].stop);
  EXPECT_EQ(s[0].object, sound_object::TUNE);
  EXPECT_FALSE(s[1].stop);
  EXPECT_EQ(s[1].object, sound_object::GAME_OVER_TUNE);
  EXPECT_EQ(s[1].volume, 255);
  EXPECT_EQ(s[1].pan, 128);
  EXPECT_EQ(s[1].frequency, 1000);
  EXPECT_EQ(s[1].loop, 0);
  EXPECT_TRUE(s[2].stop);
  EXPECT_EQ(s[2].object, sound_object::GAME_OVER_TUNE);
  EXPECT_EQ(s[2].frame, 150);
}

TEST_F(ResultsTest, AKeyDuringTheGrowthCountsForTheWait) {
  bool waited = false;
  KeyScript()
      .press(KEY_SPACE, 10)
      .on_event([&](const headless::Event &e) {
        if (e.kind == headless::Wait::ReadKey) waited = true;
      })
      .install();
  game_over();
  EXPECT_FALSE(waited);
  EXPECT_EQ(headless::frames(), 150);
}

TEST_F(ResultsTest, RatingNeedsAScoreStrictlyAboveEachBound) {
  EXPECT_STREQ(rating_message(0), "YOU MUST BE JOKING");
  EXPECT_STREQ(rating_message(1000), "YOU MUST BE JOKING");
  EXPECT_STREQ(rating_message(1001), "HEY. GET SERIOUS");
  EXPECT_STREQ(rating_message(2001), "JUST A WASTE OF TIME");
  EXPECT_STREQ(rating_message(4000), "YOU CAN DO BETTER");
  EXPECT_STREQ(rating_message(5500), "GETTING BETTER");
  EXPECT_STREQ(rating_message(7000), "PRACTICE MAKES PERFECT");
  EXPECT_STREQ(rating_message(7001), "FAST AND LETHAL");
  EXPECT_STREQ(rating_message(9000), "ALMOST THERE");
  EXPECT_STREQ(rating_message(9001), "ONE OF THE BEST");
}

TEST_F(ResultsTest, FinalResultsSlideFiftyShowTheRatingWaitAndZoomFiftyOne) {
  total_shots_fired = 0;
  total_shots_hit = 0;
  KeyScript().press(KEY_SPACE, 10).press(KEY_ENTER, 200).install();
  show_final_results();
  // The key at frame 10 is discarded; the one at 200 ends the fireworks.
  EXPECT_EQ(headless::frames(), 200 + 51);
  EXPECT_EQ(headless::buffered_keys(), 0);
  EXPECT_EQ(player.score, 1234);
}
