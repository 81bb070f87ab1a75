// Level results and the final rating: phases counted in presented frames,
// the bonus, and keys that cut short or are discarded. (The game over and
// the final results, their frames, pictures, samples and the keys they take
// or discard, are pinned by the replays of the games lost.)
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "screens/final_results.h"
#include "screens/level_results.h"
#include "tests/support/headless_game.h"

namespace {

class ResultsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_open_display(DisplayRequest{1});
    install_level_one();
    player.score = 1234;
    player.life_points = 100;
    level = 5;
  }
};

constexpr int SLIDE = 50, SPIN = 91;
constexpr long NEVER = 1L << 30;

}  // namespace

TEST_F(ResultsTest, TheBonusIsTenTimesTheTruncatedPercentageDoubledWhenFlawlessAndKeysCutPhasesShort) {
  const struct {
    int fired, hit;
    long first_key, second_key;
    int bonus;
    long frames;
  } cases[] = {
      // (A key in the slide-in is discarded: pinned by the replays.)
      // 20 of 30 is 66%: 66 count frames; a key on the frame after the
      // final picture ends the idle phase there.
      {30, 20, SLIDE + 66 + 2, NEVER, 660, SLIDE + 66 + 2 + SPIN},
      // Count frames are 51..250: a key at 60 ends the count, the whole
      // bonus is awarded, the buffer is emptied and a second key is needed.
      {20, 20, 60, 100, 2000, 100 + SPIN},
      {3, 0, SLIDE + 2, NEVER, 0, SLIDE + 2 + SPIN},  // no hits: no count at all
      {0, 0, SLIDE + 2, NEVER, 0, SLIDE + 2 + SPIN},  // no shots
  };
  for (auto c : cases) {
    SCOPED_TRACE(std::to_string(c.hit) + " of " + std::to_string(c.fired));
    SetUp();
    shots_fired = c.fired;
    shots_hit = c.hit;
    KeyScript().press(KEY_SPACE, c.first_key).press(KEY_ENTER, c.second_key).install();
    show_level_results();
    EXPECT_EQ(std::tuple(player.score, player.life_points, headless::frames(), headless_twin.buffer.size()),
              std::tuple(1234 + c.bonus, 100 + c.bonus, c.frames, 0));
    EXPECT_EQ(getpixel(back_buffer, 160, 120), 0) << "the back buffer is left clear";
    EXPECT_GE(headless_twin.palette_sets, 1) << "the level palette is set";
  }
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
