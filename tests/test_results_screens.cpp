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
  // slide-in (a key there is discarded), 200 count frames, the final
  // picture, idle until frame 300, then the spin-away.
  KeyScript().press(KEY_SPACE, 10).press(KEY_SPACE, 300).install();
  level_results(20, 20);
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
    EXPECT_EQ(getpixel(back_buffer, 160, 120), 0) << "the back buffer is left clear";
    EXPECT_GE(headless::palette_sets(), 1) << "the level palette is set";
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

TEST_F(ResultsTest, GameOverGrowsFiftyFramesWaitsForAKeyAndSpinsAHundred) {
  for (long key_at : {0L, 10L}) {  // no key before the wait, or one during the growth
    headless::reset();
    platform_set_gfx_mode(320, 240);
    long waited_at = -1;
    KeyScript()
        .on_event([&](const headless::Event &e) {
          if (e.kind == headless::Wait::Present && e.frame == key_at) headless::press(KEY_SPACE);
          if (e.kind == headless::Wait::ReadKey && waited_at < 0) {
            waited_at = e.frame;
            headless::press(KEY_SPACE);
          }
        })
        .install();
    game_over();
    EXPECT_EQ(waited_at, key_at ? -1 : 50) << "a key during the growth counts for the wait";
    EXPECT_EQ(headless::frames(), 150);
    EXPECT_EQ(headless::fades_out(), 1);
  }
  const auto &s = headless::samples();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_TRUE(s[0].stop && s[0].object == sound_object::TUNE);
  EXPECT_TRUE(!s[1].stop && s[1].object == sound_object::GAME_OVER_TUNE);
  EXPECT_TRUE(s[1].volume == 255 && s[1].pan == 128 && s[1].frequency == 1000 && s[1].loop == 0);
  EXPECT_TRUE(s[2].stop && s[2].object == sound_object::GAME_OVER_TUNE && s[2].frame == 150);
}

TEST_F(ResultsTest, RatingNeedsAScoreStrictlyAboveEachBound) {
  const std::pair<int, const char *> ratings[] = {
      {0, "YOU MUST BE JOKING"},       {1000, "YOU MUST BE JOKING"},  {1001, "HEY. GET SERIOUS"},
      {2001, "JUST A WASTE OF TIME"},  {4000, "YOU CAN DO BETTER"},   {5500, "GETTING BETTER"},
      {7000, "PRACTICE MAKES PERFECT"}, {7001, "FAST AND LETHAL"},    {9000, "ALMOST THERE"},
      {9001, "ONE OF THE BEST"},
  };
  for (auto [score, message] : ratings) EXPECT_STREQ(rating_message(score), message) << score;
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
