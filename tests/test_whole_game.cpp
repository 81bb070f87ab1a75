// A whole run of the program, headless on the generated datafiles: a game
// from the title through three levels with their results, the game over and
// the final results. (The attract cycle runs whole in the demo replay.)
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "screens/final_results.h"
#include "render/glyph_text.h"
#include "screens/results_common.h"
#include "tests/support/headless_game.h"
#include "tests/support/screen_text.h"
#include "tests/support/test_pilot.h"

#include <algorithm>
#include <set>

namespace {

int tune_starts() {
  const auto &s = headless::samples();
  return static_cast<int>(std::count_if(s.begin(), s.end(), [](const headless::SampleCall &c) {
    return c.object == sound_object::TUNE && !c.stop && c.loop == 1;
  }));
}

bool played(int object) {
  const auto &s = headless::samples();
  return std::any_of(s.begin(), s.end(),
                     [&](const headless::SampleCall &c) { return c.object == object && !c.stop; });
}

// Down, Down, fire: quit from a fresh title.
void choose_quit(long since, long frame) {
  long t = frame - since;
  headless::hold(KEY_DOWN, t == 5 || t == 15);
  headless::hold(KEY_ALT, t == 25);
}

}  // namespace

TEST_F(HeadlessTest, AGameRunsThroughThreeLevelsTheirResultsGameOverAndFinalResults) {
  std::set<int> results_shown;
  bool rating_shown = false;
  long back_on_title = -1;
  int lives_given = 0;
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind != headless::Wait::Present && e.kind != headless::Wait::ReadKey) return;
    if (headless::timer_installed()) {
      if (lives_given++ == 0) player.lives = 60;  // enough to clear three levels
      headless::hold(KEY_ESC, level >= 4);
      if (level < 4) pilot_keys();
      return;
    }
    headless::release_all();
    if (tune_starts() == 1) {
      headless::hold(KEY_ALT, e.frame == 3);  // start a game
    } else {
      if (back_on_title < 0) back_on_title = e.frame;
      choose_quit(back_on_title, e.frame);
      return;
    }
    // The waits of the results and game-over screens.
    if (e.kind == headless::Wait::ReadKey || e.frame % 40 == 0) headless::press(KEY_SPACE);
    if (level_end == 2 && level >= 1 && level <= 3) {
      char line[16];
      std::snprintf(line, sizeof line, "LEVEL %d", level);
      int rest = results_column(line);
      BITMAP *s = headless::screen();
      if (shows_text(s, rest, 20, line) || shows_text(s, rest - 1, 20, line))
        results_shown.insert(level);
    }
    const char *rating = rating_message(player.score);
    if (shows_text(headless::screen(), results_column(rating) + 8, 180, rating))
      rating_shown = true;
  });
  EXPECT_EQ(game_main(), 0);
  EXPECT_EQ(results_shown, (std::set<int>{1, 2, 3}));
  EXPECT_TRUE(played(sound_object::GAME_OVER_TUNE));
  EXPECT_TRUE(rating_shown);
  EXPECT_EQ(level, 4);
  EXPECT_GT(total_shots_fired, 0);
  EXPECT_GT(back_on_title, 0);
}
