// A whole session of the game headless, played by a pilot for a given
// number of minutes of frames (60 a second): games started from the title
// one after another, steered towards the lowest enemy while firing, the
// screens between them left with a key. With a file name it is recorded
// into it as swarmfire --record records. Prints the frames and the
// processor time the program took, for the benchmarks of recording
// (bench/recording.sh), which also verify the file with the real binary.
// Usage: record_session MINUTES [FILE]   (run in the data folder)
#include "bench/pilot.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/recorded_run.h"
#include "platform/headless/headless_controls.h"
#include "screens/title.h"

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long title_frames = 0, last_press = 0;

// On the title: nothing held for a few frames, then fire for a game.
void title_keys() {
  headless::hold(KEY_ALT, ++title_frames % 20 >= 10);
}

void session_keys(const headless::Event &e, long last_frame) {
  headless::release_all();
  if (e.frame >= last_frame) return headless::request_close();
  if (title_data) return title_keys();
  title_frames = 0;
  if (headless::timer_installed() && demo_mode == DEMO_OFF) return pilot_keys();
  // Screens that wait for a key: at once in a wait for one, else every second.
  if (e.kind != Wait::KeyWait && e.count - last_press < 60) return;
  last_press = e.count;
  headless::press(KEY_SPACE, ' ');
}

double cpu_seconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2 || std::atol(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: record_session MINUTES [FILE]\n");
    return 2;
  }
  long last_frame = std::atol(argv[1]) * 3600;
  headless::reset();
  platform_use_headless();
  headless::set_hook([&](const headless::Event &e) { session_keys(e, last_frame); });
  double start = cpu_seconds();
  int status = argc > 2 ? record_game(argv[2], {}) : game_main();
  double used = cpu_seconds() - start;
  std::printf("frames %ld cpu_seconds %.3f status %d\n", headless::frames(), used, status);
  return status;
}
