// Seeks in a watched recording, timed: the recording is watched headless
// through the viewer (the game's own code, the seam's way of passing waits
// at once, the twin in place of the display), and at two seconds before its
// end Left is pressed: 10 s back, so the program is replayed from its start
// up to there, the slowest seek the recording has. Also Right at its
// middle: 10 s ahead. Each seek is timed from the wait where the key is
// pressed to the first wait shown after it, three times; the median and
// all three are printed, with the recording's length.
// The recordings after --stand-in are the tests' stored games
// (tests/tools/stored_recording), watched on the datafiles they were stored
// with.
// Usage: seek_times FILE.sfr... [--stand-in STORED.sfr...]   (run in the data folder)
#include "data/replay_datafiles.h"
#include "frame/fresh_state.h"
#include "frame/recorded_run.h"
#include "platform/headless/headless_controls.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer_marks.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Clocks {
  double wall, cpu;
};

Clocks clocks_now() {
  timespec wall, cpu;
  clock_gettime(CLOCK_MONOTONIC, &wall);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return {wall.tv_sec + wall.tv_nsec / 1e9, cpu.tv_sec + cpu.tv_nsec / 1e9};
}

// The recording watched from its start; `key` pressed at the wait where
// the clock reaches `at`, then Esc at the first wait shown after the seek.
// The seconds between those two waits, wall and processor.
Clocks timed_seek(const std::string &file, long long at, int key) {
  headless::reset();
  reset_world_state();
  Clocks pressed{-1, -1}, landed{-1, -1};
  headless::set_hook([&](const headless::Event &) {
    if (landed.wall >= 0) return;
    if (pressed.wall >= 0) {
      landed = clocks_now();
      headless::press(KEY_ESC);
    } else if (input_log_waits() >= at) {
      headless::press(key);
      pressed = clocks_now();
    }
  });
  play_recording(file, {}, false);
  headless::set_hook(nullptr);
  return {landed.wall - pressed.wall, landed.cpu - pressed.cpu};
}

long long length_of(const std::string &file) {
  recording::Header header;
  input_log_replay(file, header, false);
  long long length = input_log_length();
  input_log_off();
  return length;
}

void report(const char *what, std::vector<Clocks> times) {
  std::sort(times.begin(), times.end(), [](const Clocks &a, const Clocks &b) { return a.wall < b.wall; });
  std::printf("  %-27s %.3f s wall, %.3f s processor, median of (%.3f %.3f %.3f)\n", what, times[1].wall, times[1].cpu,
              times[0].wall, times[1].wall, times[2].wall);
}

void time_seeks(const std::string &file) {
  long long length = length_of(file);
  std::string shown = file.substr(file.rfind('/') + 1);
  std::printf("%s: %s long (%lld waits)\n", shown.c_str(), time_of_waits(length).c_str(), length);
  std::vector<Clocks> back, ahead;
  for (int run = 0; run < 3; ++run) {
    back.push_back(timed_seek(file, length - 120, KEY_LEFT));
    ahead.push_back(timed_seek(file, length / 2, KEY_RIGHT));
  }
  report("10 s back from the end", back);
  report("10 s ahead from the middle", ahead);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: seek_times FILE.sfr... [--stand-in STORED.sfr...]\n");
    return 2;
  }
  headless::reset();
  std::unique_ptr<ReplayData> stand_in;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--stand-in")
      stand_in = std::make_unique<ReplayData>();
    else
      time_seeks(name);
  }
  return 0;
}
