// The whole program headless under AddressSanitizer, whose leak checker
// reports at exit whatever the game lost track of, with every bitmap and
// datafile the game creates or loads counted. First five
// short games in one program, each with a screenshot: the counts on the
// title after the first and after the fifth must agree. Then a program of
// its own for each row of a table: the window's close button pressed on
// every screen; a datafile replaced by a damaged or foreign one after
// start-up, before the game next loads it; sound.dat replaced while the
// library loads it, after its bytes were checked (the game plays on with
// those); create_bitmap failing at start-up and on every screen that makes
// a bitmap. Each must end as the row expects (status 0 and silent, or
// status 1 and one line) and leave nothing behind. Last, every stored
// replay must play as recorded, on the datafiles it was recorded on, and
// leave nothing.
//   leak_session DATA_DIR REPLAY_FOLDER [ROW]
// (with a part of a row's name, only the rows whose names hold it)
#include "bench/pilot.h"
#include "data/replay_datafiles.h"
#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "platform/headless/headless_controls.h"
#include "screens/bonus_screen.h"
#include "screens/ending.h"
#include "screens/title.h"
#include "tests/support/replay.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the game holds: the bitmaps it created itself and the datafiles it
// loaded (its art and sound). The program is linked with -Wl,--wrap for
// create_bitmap, create_sub_bitmap, destroy_bitmap, load_datafile and
// unload_datafile, so every call the game makes passes through the wrappers
// below. They make two faults too: create_bitmap failing once, when
// `bitmaps_until_failure` more calls were made (-1: never), and an action
// run just before the library reads the next datafile.
struct LiveResources {
  int bitmaps = 0, datafiles = 0;
  bool operator==(const LiveResources &) const = default;
};
LiveResources live;
int bitmaps_until_failure = -1;
std::function<void()> before_next_load;

BITMAP *counted(BITMAP *b) {
  live.bitmaps += b != nullptr;
  return b;
}

}  // namespace

extern "C" {

BITMAP *__real_create_bitmap(int width, int height);
BITMAP *__real_create_sub_bitmap(BITMAP *parent, int x, int y, int width, int height);
void __real_destroy_bitmap(BITMAP *bitmap);
DATAFILE *__real_load_datafile(const char *filename);
void __real_unload_datafile(DATAFILE *data);

BITMAP *__wrap_create_bitmap(int width, int height) {
  if (bitmaps_until_failure >= 0 && bitmaps_until_failure-- == 0) return nullptr;
  return counted(__real_create_bitmap(width, height));
}

BITMAP *__wrap_create_sub_bitmap(BITMAP *parent, int x, int y, int width, int height) {
  return counted(__real_create_sub_bitmap(parent, x, y, width, height));
}

void __wrap_destroy_bitmap(BITMAP *bitmap) {
  live.bitmaps -= bitmap != nullptr;
  __real_destroy_bitmap(bitmap);
}

DATAFILE *__wrap_load_datafile(const char *filename) {
  if (before_next_load) std::exchange(before_next_load, nullptr)();
  DATAFILE *d = __real_load_datafile(filename);
  live.datafiles += d != nullptr;
  return d;
}

void __wrap_unload_datafile(DATAFILE *data) {
  live.datafiles -= data != nullptr;
  __real_unload_datafile(data);
}

}  // extern "C"

namespace {

namespace fs = std::filesystem;
using E = const headless::Event &;

fs::path source, data;  // the build's datafiles, and the copy the game reads

void copy_data() {
  for (const char *file : DATAFILE_NAMES)
    fs::copy_file(source / file, data / file, fs::copy_options::overwrite_existing);
}

// The routes from a fresh title (its first item selected): after 5 waits,
// each key held for 3 waits (0: none).
using Keys = std::vector<int>;
const Keys no_keys, start = {KEY_ALT}, options = {KEY_DOWN, 0, KEY_ALT};
const Keys quit = {KEY_DOWN, 0, KEY_DOWN, 0, KEY_ALT};

int key_at(const Keys &keys, long wait) {
  size_t step = (wait - 5) / 3;
  return wait >= 5 && step < keys.size() ? keys[step] : 0;
}

bool in_game() { return headless::timer_installed() && demo_mode == DEMO_OFF; }

// Space for the screens that wait for a key: at once in readkey, and when
// `often` every 60 waits for those that poll.
void press_space(E e, long &last_press, bool often) {
  if (e.kind != Wait::KeyWait && (!often || e.count - last_press < 60)) return;
  last_press = e.count;
  headless::press(KEY_SPACE, ' ');
}

// Runs game_main with every key released before each wait's `step`; its
// status, or -1 when it ran past the limit of waits.
template <typename Session>
int run_session(Session &session, long wait_limit) {
  headless::set_event_limit(wait_limit);
  headless::set_hook([&](E e) {
    headless::release_all();
    session.step(e);
  });
  int status = -1;
  try {
    status = game_main();
  } catch (const headless::Timeout &) {
  }
  headless::set_hook(nullptr);
  return status;
}

// Nothing the game created or loaded is left after a program ended
// (counted from the end of the program before).
bool nothing_left(const char *after) {
  static LiveResources before;
  headless::reset();
  int bitmaps = live.bitmaps - before.bitmaps, datafiles = live.datafiles - before.datafiles;
  before = live;
  std::printf("after %s: %d bitmaps and %d datafiles left\n", after, bitmaps, datafiles);
  return bitmaps == 0 && datafiles == 0;
}

// Five games of 300 ticks, each with a screenshot and left with Esc; the
// counts when the title loads after the first and the fifth must agree.
struct FiveGames {
  int title_visits = 0;
  long title_tick = 0, game_ticks = 0, last_press = 0;
  LiveResources after_first;
  bool same = false;

  void step(E e) {
    if (title_data && title_tick == 0) {
      game_ticks = 0;
      if (++title_visits == 2) after_first = live;
      if (title_visits == 6) {
        same = live == after_first;
        std::printf(
            "on the title after the first and the fifth game: %d and %d bitmaps, %d and %d"
            " datafiles\n",
            after_first.bitmaps, live.bitmaps, after_first.datafiles, live.datafiles);
      }
    }
    if (title_data) return headless::hold(key_at(title_visits < 6 ? start : quit, title_tick++));
    title_tick = 0;
    if (!in_game()) return press_space(e, last_press, true);
    if (++game_ticks >= 300) return headless::hold(KEY_ESC);
    if (game_ticks == 150) return headless::hold(KEY_F12);
    pilot_keys();
  }
};

// What the player does in play besides flying the pilot: P at tick 10, Esc
// from tick 10 on (back to the title through the game over), or on the
// first tick every enemy counted destroyed on this level, which ends it.
constexpr int PAUSE = -1, ESCAPE = -2;

struct Run;

// A program started afresh: its route from the title, and the close button
// pressed or a fault made where `there` first holds (once `frames` frames
// were presented there).
struct Row {
  const char *name;
  const Keys &keys;                    // on the title
  int play;                            // PAUSE, ESCAPE, a level to clear, or 0
  bool (*there)(E e, const Run &run);  // nullptr: before the program starts
  int frames;
  std::function<void()> act;
  const char *expected = nullptr;  // the start of the one line; nullptr: status 0, no message
};

struct Run {
  const Row &row;
  bool acted = false, game_over_ended = false;
  long title_tick = 0, play_ticks = 0, frames_there = 0, last_press = 0;

  void step(E e) {
    game_over_ended = game_over_ended || e.kind == Wait::Vsync;
    play_ticks += in_game();
    if (!acted && row.there && row.there(e, *this) &&
        (row.frames == 0 || (e.kind == Wait::Present && ++frames_there == row.frames)))
      acted = true, row.act();  // the close button is seen at the next wait
    if (title_data) return headless::hold(key_at(row.keys, title_tick++));
    if (!in_game()) return press_space(e, last_press, acted);  // a screen waits for the row
    if (play_ticks == 1 && row.play > 0) level = row.play, enemies_destroyed = enemy_count;
    if (row.play == PAUSE && play_ticks == 10) return headless::hold(KEY_P);
    if (row.play == ESCAPE && play_ticks >= 10) return headless::hold(KEY_ESC);
    pilot_keys();
  }
};

bool on_title(E, const Run &) { return title_data && !bonus_data && !headless::timer_installed(); }
bool first_tick(E, const Run &r) { return r.play_ticks == 1; }
bool after_game_over(E, const Run &r) { return r.game_over_ended; }

// The close button, a datafile of the copy replaced, create_bitmap failing.
using Fault = std::function<void()>;
const Fault close = headless::request_close;
Fault foreign(const char *file, const char *other) {
  return [=] { fs::copy_file(source / other, data / file, fs::copy_options::overwrite_existing); };
}
Fault cut_in_half(const char *file) {
  return [=] { fs::resize_file(data / file, fs::file_size(source / file) / 2); };
}
Fault garbage(const char *file) {
  return [=] { std::ofstream(data / file, std::ios::trunc) << std::string(4096, 'x'); };
}
Fault bitmap_fails(int calls) {
  return [=] { bitmaps_until_failure = calls; };
}

const char *const no_320x240 = "cannot create a 320x240 bitmap";
const char *const no_screen =
    "cannot open a window or set a 320x240 or 640x480 video mode: no memory for the 320x240 "
    "picture";

const Row rows[] = {
    {"close on the title", no_keys, 0, on_title, 30, close},
    {"close on the options", options, 0, [](E, const Run &r) { return r.title_tick > 20; }, 30,
     close},
    {"close on the bonus screen", no_keys, 0, [](E, const Run &) { return !!bonus_data; }, 30,
     close},
    {"close on the level start", start, 0,
     [](E, const Run &r) { return !title_data && level_data && r.play_ticks == 0; }, 30, close},
    {"close on the pause", start, PAUSE,
     [](E e, const Run &r) {
       return r.play_ticks > 0 && !headless::timer_installed() && e.kind == Wait::Yield;
     },
     0, close},
    {"close on the game over", start, ESCAPE,
     [](E e, const Run &) { return e.kind == Wait::KeyWait; }, 0, close},
    {"close on the level results", start, 1,
     [](E, const Run &) {
       return level_end == LEVEL_COMPLETE && !headless::timer_installed() && !ending_data;
     },
     30, close},
    {"close on the final results", start, ESCAPE, after_game_over, 30, close},
    {"close on the ending", start, 12, [](E, const Run &) { return !!ending_data; }, 30, close},
    {"sound.dat is title.dat", quit, 0, nullptr, 0, foreign("sound.dat", "title.dat"),
     "sound.dat: "},
    {"title.dat is bonus.dat", start, ESCAPE, on_title, 0, foreign("title.dat", "bonus.dat"),
     "title.dat: "},
    {"bonus.dat is level1.dat", no_keys, 0, on_title, 0, foreign("bonus.dat", "level1.dat"),
     "bonus.dat: "},
    {"level1.dat cut in half", start, 0, on_title, 0, cut_in_half("level1.dat"), "level1.dat: "},
    {"level4.dat is bonus.dat", start, 3, on_title, 0, foreign("level4.dat", "bonus.dat"),
     "level4.dat: "},
    {"level7.dat is level1.dat", start, 6, on_title, 0, foreign("level7.dat", "level1.dat"),
     "level7.dat: "},
    {"level10.dat is garbage", start, 9, on_title, 0, garbage("level10.dat"), "level10.dat: "},
    {"enddat.dat cut in half", start, 12, on_title, 0, cut_in_half("enddat.dat"), "enddat.dat: "},
    {"sound.dat replaced while it loads", quit, 0, nullptr, 0,
     [] { before_next_load = foreign("sound.dat", "title.dat"); }},
    {"no back buffer", quit, 0, nullptr, 0, bitmap_fails(0), no_320x240},
    {"no glow layer", quit, 0, nullptr, 0, bitmap_fails(1), no_320x240},
    {"no logical screen", quit, 0, nullptr, 0, bitmap_fails(2), no_screen},
    {"no display copy of the logical screen", quit, 0, nullptr, 0, bitmap_fails(3), no_screen},
    // (the fourth bitmap is the display's copy of the picture, the fifth
    // the headless twin's display)
    {"no closing picture", quit, 0, nullptr, 0, bitmap_fails(5), no_320x240},
    {"no spotlight", options, 0, on_title, 0, bitmap_fails(0), "cannot create a 280x70 bitmap"},
    {"no level start picture", start, 0, on_title, 0, bitmap_fails(0), no_320x240},
    {"no pause snapshot", start, PAUSE, first_tick, 0, bitmap_fails(0), no_320x240},
    {"no pause label", start, PAUSE, first_tick, 0, bitmap_fails(1),
     "cannot create a 70x12 bitmap"},
    {"no game over snapshot", start, ESCAPE, first_tick, 0, bitmap_fails(0), no_320x240},
    {"no game over label", start, ESCAPE, first_tick, 0, bitmap_fails(1),
     "cannot create a 208x20 bitmap"},
    {"no final results snapshot", start, ESCAPE, after_game_over, 0, bitmap_fails(0), no_320x240},
    {"no level results snapshot", start, 1, first_tick, 0, bitmap_fails(0), no_320x240},
    {"no ending snapshot", start, 12, first_tick, 0, bitmap_fails(0), no_320x240},
};

// One program of a row, its one line on stderr captured.
bool ends_as_expected(const Row &row) {
  copy_data();
  headless::reset();
  Run run{row};
  if (!row.there) row.act();
  char *text = nullptr;
  size_t size = 0;
  FILE *saved = stderr;
  stderr = open_memstream(&text, &size);
  int status = run_session(run, 400'000);  // -1: the game never got where the row leads
  std::fclose(std::exchange(stderr, saved));
  std::string err(text, size);
  std::free(text);
  bitmaps_until_failure = -1;
  before_next_load = nullptr;
  std::printf("%s: status %d, %s", row.name, status, err.empty() ? "no message\n" : err.c_str());
  std::fflush(stdout);  // before a sanitizer's report ends the process
  bool one_line =
      err.rfind(std::string("swarmfire: ") + (row.expected ? row.expected : ""), 0) == 0 &&
      err.find('\n') == err.size() - 1;
  return nothing_left(row.name) &&
         (row.expected ? status == 1 && one_line : status == 0 && err.empty());
}

// Each stored replay, on the datafiles it was recorded on.
bool replays_leave_nothing(const std::string &folder) {
  ReplayData replay_data;
  bool ok = true;
  for (const char *name : {"demo", "game_over", "hazards", "levels", "twelve_levels"}) {
    replay::Recording recording;
    std::string problem;
    bool as_recorded = replay::from_file(folder + "/" + name + ".txt", recording, problem) &&
                       replay::replay(recording).hash == recording.hash;
    std::printf("replay %s: %s\n", name, as_recorded ? "as recorded" : "NOT as recorded");
    ok = nothing_left(name) && as_recorded && ok;
  }
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3 && argc != 4)
    return std::fprintf(stderr, "usage: leak_session DATA_DIR REPLAY_FOLDER [ROW]\n"), 2;
  source = argv[1];
  data = fs::absolute("data");  // in the working folder, where the screenshots go too
  fs::create_directories(data);
  setenv("SWARMFIRE_DATA", data.c_str(), 1);
  headless::init_library();
  bool ok = true;
  if (argc == 3) {
    copy_data();
    headless::reset();
    FiveGames games;
    int status = run_session(games, 200'000);
    ok = nothing_left("five games") && status == 0 && games.same;
  }
  for (const Row &row : rows)
    if (argc == 3 || std::string(row.name).find(argv[3]) != std::string::npos)
      ok = ends_as_expected(row) && ok;
  if (argc == 3) ok = replays_leave_nothing(argv[2]) && ok;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  std::fflush(stdout);  // the leak report at exit ends the process abruptly
  return ok ? 0 : 1;
}
