// A full headless session built with AddressSanitizer, whose leak checker
// reports at exit whatever the game lost track of: the title, the options
// screen (glow off, music off and on), a first game with a pause and a
// screenshot ending in the game over and the final results, the attract
// cycle (bonus screen and demo), a second game through all twelve levels
// with their results and the ending, three more games like the first, then
// quit. The game's live bitmaps, datafiles and samples are counted on the
// title after the first game and after the fifth (level1.dat is held both
// times) and must be the same; once the program has ended none is left.
// Levels of the long game are played for a while and then completed by
// clearing the formation, so that the session stays short.
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/headless.h"
#include "screens/ending.h"
#include "screens/glyph_text.h"
#include "screens/title.h"
#include "tests/leak/live_resources.h"
#include "tests/support/replay_pilots.h"
#include "world/enemies.h"

#include <cstdio>

namespace {

using namespace replay;

constexpr int PLAY_TICKS = 300;  // of each level before it is cleared or left
constexpr int LONG_GAME = 2;

// From the fresh title: the options screen, glow off, music off and on
// again, back, and the first item.
Steps options_then_start() {
  return Steps({{0, 10}, {DOWN, 3}, {0, 3}, {ALT, 3}, {0, 60}, {ALT, 3}, {0, 5},
                {DOWN, 3}, {0, 3}, {DOWN, 3}, {0, 3}, {ALT, 3}, {0, 10}, {ALT, 3},
                {0, 10}, {ESC, 3}, {0, 60}, {UP, 3}, {0, 3}, {ALT, 3}, {0, 2}});
}

// Left alone, the title runs the bonus screen and then the demo.
Steps attract_cycle() { return Steps({{0, 5000}}); }

struct Session {
  int title_visits = 0;
  bool title_loaded = false;
  Steps title_keys = Steps({});
  int games = 0;
  bool playing = false;
  long level_ticks = 0, demo_ticks = 0, last_press = 0;
  int level_played = 0, long_game_levels = 0;
  bool fire = false, ending_seen = false, bonus_seen = false;
  LiveResources after_first, after_fifth;

  // A title visit begins when the title screen loads its datafile.
  void enter_title() {
    ++title_visits;
    playing = false;
    if (title_visits == 2) after_first = live_resources();
    if (title_visits == 7) after_fifth = live_resources();
    if (title_visits == 1)
      title_keys = options_then_start();
    else if (title_visits == 2)
      title_keys = attract_cycle();
    else if (title_visits < 7)
      title_keys = start_steps();
    else
      title_keys = quit_steps();
  }

  static void clear_formation() {
    for (Enemy &enemy : enemies) enemy.active = 0;
    enemies_destroyed = enemy_count;
  }

  Input play() {
    if (!playing) playing = true, ++games, level_played = 0;
    if (level != level_played) level_played = level, level_ticks = 0;
    ++level_ticks;
    if (games == LONG_GAME) {
      if (level_ticks == 1) player.lives = 60, long_game_levels = level;
      if (level_ticks == PLAY_TICKS) clear_formation();
    } else {
      if (level_ticks >= PLAY_TICKS) return {ESC, false};
      if (level_ticks == 100) return {P, false};  // pause
      if (level_ticks >= 150 && level_ticks < 152) return {F12, false};
    }
    return {play_keys(true, fire), false};
  }

  Input step(const headless::Event &e) {
    if (title_data && !title_loaded) enter_title();
    title_loaded = title_data != nullptr;
    if (ending_data) ending_seen = true;
    if (bonus_data) bonus_seen = true;
    if (on_title()) return title_keys.next();
    if (in_game()) return play();
    // The pause polls for P to resume.
    if (playing && e.kind == headless::Wait::Yield) return {P, false};
    if (demo_mode == -1 && headless::timer_installed()) return {0, ++demo_ticks % 300 == 0};
    return pass_waits(e, last_press);
  }
};

void print(const char *when, const LiveResources &r) {
  std::printf("%s: %d bitmaps created by the game, %d datafiles with %d bitmaps and %d samples\n",
              when, r.created_bitmaps, r.datafiles, r.datafile_bitmaps, r.samples);
}

}  // namespace

int main() {
  headless::reset();
  headless::set_event_limit(3'000'000);
  Session session;
  headless::set_hook([&](const headless::Event &e) {
    Input input = session.step(e);
    const int keys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ALT, KEY_ESC, KEY_P, KEY_F12};
    for (int k = 0; k < 8; ++k) headless::hold(keys[k], (input.held >> k) & 1);
    if (input.press) headless::press(KEY_SPACE, ' ');
  });
  int status = game_main();
  long frames = headless::frames();
  headless::set_hook(nullptr);
  headless::reset();
  LiveResources at_end = live_resources();
  std::printf("%ld frames, %d games, %d title visits, the long game reached level %d, ending %s, "
              "bonus screen %s, %ld demo ticks, glow %s, status %d\n",
              frames, session.games, session.title_visits, session.long_game_levels,
              session.ending_seen ? "shown" : "not shown", session.bonus_seen ? "shown" : "not shown",
              session.demo_ticks, option_glow ? "on" : "switched off", status);
  print("on the title after the first game", session.after_first);
  print("on the title after the fifth game", session.after_fifth);
  print("after the program ended", at_end);
  bool toured = session.games == 5 && session.title_visits == 7 && session.long_game_levels == 12 &&
                session.ending_seen && session.bonus_seen && session.demo_ticks > 0 && option_glow == 0;
  bool ok = status == 0 && toured && session.after_first == session.after_fifth &&
            at_end == LiveResources{};
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  std::fflush(stdout);  // the leak report at exit ends the process abruptly
  return ok ? 0 : 1;
}
