// The whole program headless, built with AddressSanitizer, whose leak
// checker reports at exit whatever the game lost track of. First every
// stored replay (the options, all twelve levels with their results and the
// ending, the pause, the game over, the attract cycle): each must play as
// recorded and leave no bitmap or datafile behind. Then five short games in
// one program, each with a screenshot: the game's live bitmaps and
// datafiles on the title after the first and after the fifth must be the
// same. Then the window's close button is pressed once on every screen,
// each time in a program of its own, and nothing may be left after each.
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "screens/bonus_screen.h"
#include "tests/support/headless_controls.h"
#include "screens/ending.h"
#include "render/glyph_text.h"
#include "screens/title.h"
#include "tests/leak/live_resources.h"
#include "tests/leak/session_keys.h"
#include "tests/support/replay.h"
#include "tests/support/replay_data.h"
#include "tests/support/test_pilot.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool on_title() { return title_data && !bonus_data && !headless::timer_installed(); }
bool in_game() { return headless::timer_installed() && demo_mode == DEMO_OFF; }

// Nothing the game created or loaded is left after a program ended
// (counted from the end of the program before).
bool nothing_left(const char *after) {
  static LiveResources before;
  headless::reset();
  LiveResources now = live_resources();
  int bitmaps = now.created_bitmaps - before.created_bitmaps, datafiles = now.datafiles - before.datafiles;
  before = now;
  std::printf("after %s: %d bitmaps and %d datafiles left\n", after, bitmaps, datafiles);
  return bitmaps == 0 && datafiles == 0;
}

// Each stored replay, on the datafiles it was recorded on.
bool replays_leave_nothing(const std::string &folder) {
  ReplayData data;
  bool ok = true;
  for (const char *name : {"demo", "game_over", "hazards", "levels", "twelve_levels"}) {
    std::stringstream text;
    text << std::ifstream(folder + "/" + name + ".txt").rdbuf();
    replay::Recording recording;
    std::string problem;
    bool read = replay::from_text(text.str(), recording, problem);
    replay::Outcome outcome = replay::replay(recording);
    bool as_recorded = read && outcome.status == 0 && outcome.hash == recording.hash;
    std::printf("replay %s: %s\n", name, as_recorded ? "as recorded" : "NOT as recorded");
    ok = nothing_left(name) && as_recorded && ok;
  }
  return ok;
}

// Five games of 300 ticks, each with a screenshot and left with Esc; the
// counts are taken when the title loads after the first and the fifth.
struct FiveGames {
  int title_visits = 0;
  bool title_loaded = false;
  long title_tick = 0, game_ticks = 0, last_press = 0;
  LiveResources after_first, after_fifth;

  void step(const headless::Event &e) {
    if (title_data && !title_loaded) {
      ++title_visits, title_tick = 0, game_ticks = 0;
      if (title_visits == 2) after_first = live_resources();
      if (title_visits == 6) after_fifth = live_resources();
    }
    title_loaded = title_data != nullptr;
    if (on_title())
      return headless::hold(key_at(title_visits < 6 ? start_steps : quit_steps, title_tick++));
    if (!in_game()) return press_for_waiting_screens(e, last_press);
    ++game_ticks;
    if (game_ticks >= 300) return headless::hold(KEY_ESC);
    if (game_ticks == 150) return headless::hold(KEY_F12);
    pilot_keys();
  }
};

// Where the close button is pressed, in a program started afresh, and how
// it gets there: the title's route and what happens in the game.
using E = const headless::Event &;
struct Place {
  const char *name;
  const Steps *title_keys;
  bool waits;               // closed in the wait itself, else on the 30th frame there
  int clear_level;          // the formation cleared at once on this level (0: not)
  long pause_at, leave_at;  // game ticks to press P at and to hold Esc from (0: never)
  bool (*there)(E e, long title_tick, long play_ticks);  // play_ticks -1: not yet played
};

bool game_over_done = false;  // the final results have had their last wait

const Place places[] = {
    {"the title", &no_keys, false, 0, 0, 0, [](E, long, long) { return on_title(); }},
    {"the options", &options_steps, false, 0, 0, 0, [](E, long t, long) { return title_data && t > 20; }},
    {"the bonus screen", &no_keys, false, 0, 0, 0, [](E, long, long) { return bonus_data != nullptr; }},
    {"the level start", &start_steps, false, 0, 0, 0, [](E, long, long p) { return p == 0 && level_data; }},
    {"the pause", &start_steps, true, 0, 100, 0,
     [](E e, long, long p) { return p > 0 && !headless::timer_installed() && e.kind == headless::Wait::Yield; }},
    {"the game over", &start_steps, true, 0, 0, 50, [](E e, long, long) { return e.kind == headless::Wait::ReadKey; }},
    {"the level results", &start_steps, false, 1, 0, 0,
     [](E, long, long) { return level_end == LEVEL_COMPLETE && !headless::timer_installed() && !ending_data; }},
    {"the final results", &start_steps, false, 0, 0, 50, [](E, long, long) { return game_over_done; }},
    {"the ending", &start_steps, false, 12, 0, 0, [](E, long, long) { return ending_data != nullptr; }},
};

// Drives one program to its place and presses the close button there.
struct CloseSession {
  const Place &place;
  bool closed = false;
  long title_tick = 0, play_ticks = -1, frames_there = 0;

  void play() {
    if (++play_ticks == 1 && place.clear_level) level = place.clear_level, clear_formation();
    if (play_ticks == place.pause_at) return headless::hold(KEY_P);
    if (place.leave_at && play_ticks >= place.leave_at) return headless::hold(KEY_ESC);
    pilot_keys();
  }

  void step(E e) {
    if (closed) return;
    if (place.there(e, title_tick, play_ticks) &&
        (place.waits || (e.kind == headless::Wait::Present && ++frames_there == 30))) {
      closed = true;
      return headless::request_close();
    }
    if (title_data) return headless::hold(key_at(*place.title_keys, title_tick++));
    play_ticks = std::max(play_ticks, 0L);
    if (in_game()) return play();
    if (e.kind == headless::Wait::ReadKey) headless::press(KEY_SPACE, ' ');
    if (e.kind == headless::Wait::Vsync) game_over_done = true;
  }
};

bool closes_cleanly(const Place &place) {
  headless::reset();
  game_over_done = false;
  CloseSession session{place};
  int status = run_session(session, 200'000);
  std::printf("closed from %s: %s, status %d\n", place.name, session.closed ? "reached" : "NOT reached", status);
  return nothing_left(place.name) && session.closed && status == 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: leak_session REPLAY_FOLDER\n"), 2;
  headless::reset();
  FiveGames games;
  int status = run_session(games, 200'000);
  for (auto [when, r] : {std::pair{"first", games.after_first}, std::pair{"fifth", games.after_fifth}})
    std::printf("on the title after the %s game: %d bitmaps created by the game, %d datafiles\n", when,
                r.created_bitmaps, r.datafiles);
  bool ok = nothing_left("five games") && status == 0 && games.title_visits == 6 &&
            games.after_first == games.after_fifth;
  for (const Place &place : places) ok = closes_cleanly(place) && ok;
  ok = replays_leave_nothing(argv[1]) && ok;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  std::fflush(stdout);  // the leak report at exit ends the process abruptly
  return ok ? 0 : 1;
}
