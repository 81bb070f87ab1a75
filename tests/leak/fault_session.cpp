// The whole program headless under AddressSanitizer, broken on purpose, each
// time in a program of its own: every datafile replaced by a damaged or
// foreign one after start-up and before the game next loads it; sound.dat
// replaced while the library loads it, after its bytes were read and
// checked; and create_bitmap failing at start-up and on every screen that
// makes a bitmap. Each time the game must stop with one line and status 1
// (or, for the file replaced during its load, play on with the bytes it
// checked), read nothing out of bounds and leave nothing behind.
//   fault_session DATA_DIR WORK_DIR [PART_OF_A_NAME]
#include "frame/datafile_check.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "tests/support/headless_controls.h"
#include "render/glyph_text.h"
#include "screens/title.h"
#include "tests/leak/live_resources.h"
#include "tests/leak/session_keys.h"
#include "world/enemies.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path source, data;  // the build's datafiles, and the copy the game reads

void copy_data() {
  fs::remove_all(data);
  fs::create_directories(data);
  for (const char *file : datafile_names) fs::copy_file(source / file, data / file);
}

// Replacements of a datafile in the copy.
using Make = std::function<void()>;
Make foreign(const char *file, const char *other) {
  return [=] { fs::copy_file(source / other, data / file, fs::copy_options::overwrite_existing); };
}
Make cut_in_half(const char *file) { return [=] { fs::resize_file(data / file, fs::file_size(source / file) / 2); }; }
Make garbage(const char *file) { return [=] { std::ofstream(data / file, std::ios::trunc) << std::string(4096, 'x'); }; }
Make bitmap_fails(int calls) { return [=] { fail_bitmap_after(calls); }; }

// When the fault is made: before the program starts, on the first title
// frame, on the first tick of play, as P or Esc is pressed at tick 10, or as
// the game over ends (its one wait for the retrace).
enum class When { Start, Title, FirstTick, Pause, Escape, GameOverEnd };

// What the player does: the keys on the title (quit; none, so that the
// bonus screen comes at the title's frame 1000; open the options; start a
// game), and whether Esc is pressed at tick 10 of the game, back to the
// title through the game over.
const Steps *const Quit = &quit_steps, *const Wait = &no_keys, *const Options = &options_steps,
                   *const Play = &start_steps;

struct Fault {
  const char *what;
  std::function<void()> make;
  When when;
  const Steps *title_keys;
  bool escape;
  int skip_to_level;     // on the first tick, play on as if this level were cleared (0: no)
  const char *expected;  // the start of the one line; nullptr for status 0
};

const char *const no_320x240 = "cannot create a 320x240 bitmap";

const Fault faults[] = {
    {"sound.dat is title.dat", foreign("sound.dat", "title.dat"), When::Start, Quit, false, 0, "sound.dat: "},
    {"title.dat is bonus.dat", foreign("title.dat", "bonus.dat"), When::Title, Play, true, 0, "title.dat: "},
    {"bonus.dat is level1.dat", foreign("bonus.dat", "level1.dat"), When::Title, Wait, false, 0, "bonus.dat: "},
    {"level1.dat cut in half", cut_in_half("level1.dat"), When::Title, Play, false, 0, "level1.dat: "},
    {"level4.dat is bonus.dat", foreign("level4.dat", "bonus.dat"), When::Title, Play, false, 3, "level4.dat: "},
    {"level7.dat is level1.dat", foreign("level7.dat", "level1.dat"), When::Title, Play, false, 6, "level7.dat: "},
    {"level10.dat is garbage", garbage("level10.dat"), When::Title, Play, false, 9, "level10.dat: "},
    {"enddat.dat cut in half", cut_in_half("enddat.dat"), When::Title, Play, false, 12, "enddat.dat: "},
    {"sound.dat replaced while it loads", [] { before_next_load(foreign("sound.dat", "title.dat")); }, When::Start,
     Quit, false, 0, nullptr},
    {"no back buffer", bitmap_fails(0), When::Start, Quit, false, 0, no_320x240},
    {"no glow layer", bitmap_fails(1), When::Start, Quit, false, 0, no_320x240},
    {"no logical screen", bitmap_fails(2), When::Start, Quit, false, 0,
     "cannot open a window or set a 320x240 or 640x480 video mode: no memory for the 320x240 picture"},
    // (the fourth bitmap is the headless twin's display)
    {"no closing picture", bitmap_fails(4), When::Start, Quit, false, 0, no_320x240},
    {"no spotlight", bitmap_fails(0), When::Title, Options, false, 0, "cannot create a 280x70 bitmap"},
    {"no level start picture", bitmap_fails(0), When::Title, Play, false, 0, no_320x240},
    {"no pause snapshot", bitmap_fails(0), When::Pause, Play, false, 0, no_320x240},
    {"no pause label", bitmap_fails(1), When::Pause, Play, false, 0, "cannot create a 70x12 bitmap"},
    {"no game over snapshot", bitmap_fails(0), When::Escape, Play, true, 0, no_320x240},
    {"no game over label", bitmap_fails(1), When::Escape, Play, true, 0, "cannot create a 208x20 bitmap"},
    {"no level results snapshot", bitmap_fails(0), When::FirstTick, Play, false, 1, no_320x240},
    {"no final results snapshot", bitmap_fails(0), When::GameOverEnd, Play, true, 0, no_320x240},
    {"no ending snapshot", bitmap_fails(0), When::FirstTick, Play, false, 12, no_320x240},
};

struct Driver {
  const Fault &fault;
  bool made = false;
  long title_calls = 0, play_ticks = 0, last_press = 0;

  void make_at(When when) {
    if (when == fault.when && !made) fault.make();
    made = made || when == fault.when;
  }

  void play() {
    ++play_ticks;
    if (play_ticks == 1) {
      make_at(When::FirstTick);
      if (fault.skip_to_level > 0) level = fault.skip_to_level, clear_formation();
    }
    if (play_ticks == 10 && fault.when == When::Pause) make_at(When::Pause), headless::hold(KEY_P);
    if (play_ticks >= 10 && fault.escape) make_at(When::Escape), headless::hold(KEY_ESC);
  }

  void step(const headless::Event &e) {
    if (title_data) {
      make_at(When::Title);
      return headless::hold(key_at(*fault.title_keys, title_calls++));
    }
    if (headless::timer_installed() && demo_mode == DEMO_OFF) return play();
    if (play_ticks > 0 && e.kind == headless::Wait::Yield) return headless::hold(KEY_P);  // paused
    if (e.kind == headless::Wait::Vsync) make_at(When::GameOverEnd);
    press_for_waiting_screens(e, last_press);
  }
};

// The game's stderr while it runs, so that its one line can be read.
struct CapturedStderr {
  char *text = nullptr;
  size_t size = 0;
  FILE *saved = stderr;
  CapturedStderr() { stderr = open_memstream(&text, &size); }
  std::string end() {
    std::fclose(stderr);
    stderr = saved;
    std::string s(text, size);
    std::free(text);
    return s;
  }
};

bool survives(const Fault &fault) {
  copy_data();
  headless::reset();
  const LiveResources before = live_resources();
  bool checked = datafiles_problem(data.string()).empty();  // the start-up check
  Driver driver{fault};
  driver.make_at(When::Start);
  CapturedStderr captured;
  int status = run_session(driver, 400'000);  // -1: the game never got where the fault leads
  std::string err = captured.end();
  headless::reset();
  fail_bitmap_after(-1);
  before_next_load(nullptr);
  LiveResources left = live_resources();
  bool clean = left.created_bitmaps == before.created_bitmaps && left.datafiles == before.datafiles;
  bool as_expected = fault.expected == nullptr
                         ? status == 0 && err.empty()
                         : status == 1 && err.rfind(std::string("swarmfire: ") + fault.expected, 0) == 0 &&
                               err.find('\n') == err.size() - 1;
  bool ok = checked && driver.made && as_expected && clean;
  std::printf("%s %s: status %d, %s%s%s\n", ok ? "ok" : "FAIL", fault.what, status,
              err.empty() ? "no message" : err.substr(0, err.size() - 1).c_str(),
              driver.made ? "" : " (the fault was never made)", clean ? "" : " (left resources behind)");
  std::fflush(stdout);  // before a sanitizer's report ends the process
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: fault_session DATA_DIR WORK_DIR [PART_OF_A_NAME]\n");
    return 2;
  }
  source = argv[1];
  data = fs::path(argv[2]) / "data";
  setenv("SWARMFIRE_DATA", data.c_str(), 1);
  headless::init_library();
  bool ok = true;
  for (const Fault &fault : faults)
    if (argc == 3 || std::string(fault.what).find(argv[3]) != std::string::npos)
      ok = survives(fault) && ok;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  std::fflush(stdout);
  return ok ? 0 : 1;
}
