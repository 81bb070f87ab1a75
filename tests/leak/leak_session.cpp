// A full headless session built with AddressSanitizer, whose leak checker
// reports at exit whatever the game lost track of: the title, the options
// screen (glow off, music off and on), a first game with a pause and a
// screenshot ending in the game over and the final results, the attract
// cycle (bonus screen and demo), a second game through all twelve levels
// with their results and the ending, three more games like the first, then
// quit. The game's live bitmaps and datafiles are counted on the
// title after the first game and after the fifth (level1.dat is held both
// times) and must be the same; once the program has ended none is left.
// Levels of the long game are played for a while and then completed by
// clearing the formation, so that the session stays short.
// Then the window's close button is pressed once on every screen, each time
// in a program of its own: after each, nothing the game created or loaded
// may be left.
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
#include "tests/support/test_pilot.h"
#include "world/enemies.h"

#include <cstdio>

namespace {

// From a fresh title: the options screen, glow off, music off and on again,
// back, and start.
const Steps options_then_start = {{0, 10},     {KEY_DOWN, 3}, {0, 3},       {KEY_ALT, 3}, {0, 60},
                                  {KEY_ALT, 3}, {0, 5},        {KEY_DOWN, 3}, {0, 3},       {KEY_DOWN, 3},
                                  {0, 3},       {KEY_ALT, 3},  {0, 10},       {KEY_ALT, 3}, {0, 10},
                                  {KEY_ESC, 3}, {0, 60},       {KEY_UP, 3},   {0, 3},       {KEY_ALT, 3}};

bool on_title() { return title_data && !bonus_data && !headless::timer_installed(); }
bool in_game() { return headless::timer_installed() && demo_mode == DEMO_OFF; }

constexpr int PLAY_TICKS = 300;  // of each level before it is cleared or left
constexpr int LONG_GAME = 2;

struct Session {
  int title_visits = 0;
  bool title_loaded = false;
  const Steps *title_keys = &no_keys;
  long title_tick = 0;
  int games = 0;
  bool playing = false;
  long level_ticks = 0, demo_ticks = 0, last_press = 0;
  int level_played = 0, long_game_levels = 0;
  bool ending_seen = false, bonus_seen = false;
  LiveResources after_first, after_fifth;

  // A title visit begins when the title screen loads its datafile; the
  // second is left alone, so that the bonus screen and the demo run.
  void enter_title() {
    ++title_visits;
    playing = false;
    if (title_visits == 2) after_first = live_resources();
    if (title_visits == 7) after_fifth = live_resources();
    title_tick = 0;
    title_keys = title_visits == 1   ? &options_then_start
                 : title_visits == 2 ? &no_keys
                 : title_visits < 7  ? &start_steps
                                     : &quit_steps;
  }

  void play() {
    if (!playing) playing = true, ++games, level_played = 0;
    if (level != level_played) level_played = level, level_ticks = 0;
    ++level_ticks;
    if (games == LONG_GAME) {
      if (level_ticks == 1) player.lives = 60, long_game_levels = level;
      if (level_ticks == PLAY_TICKS) clear_formation();
    } else {
      if (level_ticks >= PLAY_TICKS) return headless::hold(KEY_ESC);
      if (level_ticks == 100) return headless::hold(KEY_P);  // pause
      if (level_ticks >= 150 && level_ticks < 152) return headless::hold(KEY_F12);
    }
    pilot_keys();
  }

  void step(const headless::Event &e) {
    if (title_data && !title_loaded) enter_title();
    title_loaded = title_data != nullptr;
    ending_seen = ending_seen || ending_data;
    bonus_seen = bonus_seen || bonus_data;
    if (on_title()) return headless::hold(key_at(*title_keys, title_tick++));
    if (in_game()) return play();
    // The pause polls for P to resume.
    if (playing && e.kind == headless::Wait::Yield) return headless::hold(KEY_P);
    if (demo_mode == DEMO_RUNNING && headless::timer_installed()) {
      if (++demo_ticks % 300 == 0) headless::press(KEY_SPACE, ' ');
      return;
    }
    press_for_waiting_screens(e, last_press);
  }
};

// Where the close button is pressed, in a program started afresh.
enum class Place {
  Title, Options, BonusScreen, LevelStart, Pause, GameOver, LevelResults, FinalResults, Ending
};
struct NamedPlace {
  Place place;
  const char *name;
};
const NamedPlace places[] = {
    {Place::Title, "the title"},
    {Place::Options, "the options"},
    {Place::BonusScreen, "the bonus screen"},
    {Place::LevelStart, "the level start"},
    {Place::Pause, "the pause"},
    {Place::GameOver, "the game over"},
    {Place::LevelResults, "the level results"},
    {Place::FinalResults, "the final results"},
    {Place::Ending, "the ending"},
};

// Drives one program to its place and presses the close button there, on a
// frame well into the screen (the 30th), or in the wait of the pause and
// the game over.
struct CloseSession {
  Place place;
  bool closed = false;
  long title_tick = 0, play_ticks = 0, frames_there = 0;
  bool left_title = false, game_over_done = false;

  void close() {
    closed = true;
    headless::request_close();
  }

  // Frames of the screen the place names, once the game has got there.
  bool there(const headless::Event &e) {
    switch (place) {
      case Place::Title: return on_title();
      case Place::Options: return title_data && title_tick > 20;
      case Place::BonusScreen: return bonus_data != nullptr;
      case Place::LevelStart: return left_title && play_ticks == 0 && level_data;
      case Place::LevelResults:
        return level_end == LEVEL_COMPLETE && !headless::timer_installed() && !ending_data;
      case Place::FinalResults: return game_over_done;
      case Place::Ending: return ending_data != nullptr;
      case Place::Pause:
        return play_ticks > 0 && !headless::timer_installed() && e.kind == headless::Wait::Yield;
      case Place::GameOver: return e.kind == headless::Wait::ReadKey;
    }
    return false;
  }

  void play() {
    ++play_ticks;
    if (play_ticks == 1 && (place == Place::LevelResults || place == Place::Ending)) {
      if (place == Place::Ending) level = 12;
      clear_formation();
    }
    if (place == Place::Pause && play_ticks == 100) return headless::hold(KEY_P);
    if ((place == Place::GameOver || place == Place::FinalResults) && play_ticks >= 50)
      return headless::hold(KEY_ESC);
    pilot_keys();
  }

  void step(const headless::Event &e) {
    if (closed) return;
    if (there(e)) {
      bool waits = place == Place::Pause || place == Place::GameOver;
      if (waits || (e.kind == headless::Wait::Present && ++frames_there == 30)) return close();
    }
    if (title_data) {
      if (place == Place::Options) return headless::hold(key_at(options_steps, title_tick++));
      if (place == Place::Title || place == Place::BonusScreen) return;
      return headless::hold(key_at(start_steps, title_tick++));
    }
    left_title = true;
    if (in_game()) return play();
    if (e.kind == headless::Wait::ReadKey) headless::press(KEY_SPACE, ' ');
    if (e.kind == headless::Wait::Vsync) game_over_done = true;  // its last wait
  }
};

// Runs a program closed at this place; true when it got there, ended with
// status 0 and left nothing behind.
bool closes_cleanly(const NamedPlace &where) {
  headless::reset();
  const LiveResources before = live_resources();
  CloseSession session{where.place};
  int status = run_session(session, 200'000);
  headless::reset();
  LiveResources left = live_resources();
  left.created_bitmaps -= before.created_bitmaps;
  left.datafiles -= before.datafiles;
  std::printf("closed from %s: %s, status %d, %d bitmaps and %d datafiles left\n", where.name,
              session.closed ? "reached" : "NOT reached", status, left.created_bitmaps, left.datafiles);
  return session.closed && status == 0 && left == LiveResources{};
}

void print(const char *when, const LiveResources &r) {
  std::printf("%s: %d bitmaps created by the game, %d datafiles\n", when, r.created_bitmaps, r.datafiles);
}

}  // namespace

int main() {
  headless::reset();
  Session session;
  int status = run_session(session, 3'000'000);
  long frames = headless::frames();
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
  for (const NamedPlace &where : places) ok = closes_cleanly(where) && ok;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  std::fflush(stdout);  // the leak report at exit ends the process abruptly
  return ok ? 0 : 1;
}
