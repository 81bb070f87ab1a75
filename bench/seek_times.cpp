// Seeks in a watched recording, timed: the recording is watched headless
// through the viewer (the game's own code, the seam's way of passing waits
// at once, the twin in place of the display). Two seconds before its end,
// Left (10 s back) and Home (to the start); Right (10 s ahead) at its
// middle; each three times, the median and all three printed. Then, in one
// watch, Left at 24 moments spread evenly over it: the slowest and the
// median of those, and the kept states (frame/replay_snapshots.h) there
// were at the end, with their memory. A seek's time runs from the wait
// where the key is pressed to the first wait shown after it; each of the 24
// is checked to land on the world and picture of straight play there.
// The recordings after --stand-in are the tests' stored games
// (tests/tools/stored_recording), watched on the datafiles they were stored
// with.
// Usage: seek_times FILE.sfr... [--stand-in STORED.sfr...]   (run in the data folder)
#include "data/replay_datafiles.h"
#include "frame/fresh_state.h"
#include "frame/recorded_run.h"
#include "frame/replay_snapshots.h"
#include "frame/world_hash.h"
#include "platform/headless/headless_controls.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer_marks.h"
#include "platform/shared/fnv1a.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
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

// The world hash and the logical screen with its palette, in one figure.
uint64_t state_now() {
  uint64_t world = world_hash();
  uint64_t h = fnv1a(&world, sizeof world);
  BITMAP *s = headless::screen();
  for (int y = 0; y < s->h; ++y) h = fnv1a(s->line[y], s->w, h);
  PALETTE palette;
  get_palette(palette);
  return fnv1a(palette, sizeof palette, h);
}

// The state at every wait of the recording watched straight through.
std::map<long long, uint64_t> straight_states(const std::string &file) {
  headless::reset();
  reset_world_state();
  std::map<long long, uint64_t> states;
  headless::set_hook([&](const headless::Event &) { states[input_log_waits()] = state_now(); });
  play_recording(file, {}, false);
  headless::set_hook(nullptr);
  return states;
}

// The recording watched from its start; at the first wait where the clock
// reaches each of `moments` in turn, `key` is pressed, and the seek timed
// to the first wait shown after it; Esc after the last.
std::vector<Clocks> timed_seeks(const std::string &file, const std::vector<long long> &moments, int key,
                                int *kept = nullptr, size_t *bytes = nullptr,
                                std::vector<std::pair<long long, uint64_t>> *landed_on = nullptr) {
  headless::reset();
  reset_world_state();
  std::vector<Clocks> times;
  Clocks pressed{-1, -1};
  size_t next = 0;
  headless::set_hook([&](const headless::Event &) {
    if (next == moments.size()) return;
    if (pressed.wall >= 0) {
      Clocks landed = clocks_now();
      times.push_back({landed.wall - pressed.wall, landed.cpu - pressed.cpu});
      pressed = {-1, -1};
      if (landed_on) landed_on->push_back({input_log_waits(), state_now()});
      if (++next == moments.size()) {
        if (kept) *kept = snapshots_kept();
        if (bytes) *bytes = snapshots_bytes();
        headless::press(KEY_ESC);
      }
    } else if (input_log_waits() >= moments[next]) {
      headless::press(key);
      pressed = clocks_now();
    }
  });
  play_recording(file, {}, false);
  headless::set_hook(nullptr);
  return times;
}

long long length_of(const std::string &file) {
  recording::Header header;
  input_log_replay(file, header, false);
  long long length = input_log_length();
  input_log_off();
  return length;
}

bool by_wall(const Clocks &a, const Clocks &b) { return a.wall < b.wall; }

void report(const char *what, std::vector<Clocks> times) {
  std::sort(times.begin(), times.end(), by_wall);
  std::printf("  %-27s %.3f s wall, %.3f s processor, median of (%.3f %.3f %.3f)\n", what, times[1].wall, times[1].cpu,
              times[0].wall, times[1].wall, times[2].wall);
}

std::vector<Clocks> three(const std::string &file, long long at, int key) {
  std::vector<Clocks> times;
  for (int run = 0; run < 3; ++run) times.push_back(timed_seeks(file, {at}, key).at(0));
  return times;
}

constexpr int SPREAD_SEEKS = 24;

void time_seeks(const std::string &file) {
  long long length = length_of(file);
  std::string shown = file.substr(file.rfind('/') + 1);
  std::printf("%s: %s long (%lld waits)\n", shown.c_str(), time_of_waits(length).c_str(), length);
  report("10 s back from the end", three(file, length - 120, KEY_LEFT));
  report("to the start from the end", three(file, length - 120, KEY_HOME));
  report("10 s ahead from the middle", three(file, length / 2, KEY_RIGHT));
  std::vector<long long> moments;
  for (int k = 1; k <= SPREAD_SEEKS; ++k) moments.push_back(length * k / (SPREAD_SEEKS + 1));
  int kept = 0;
  size_t bytes = 0;
  std::vector<std::pair<long long, uint64_t>> landed;
  std::vector<Clocks> spread = timed_seeks(file, moments, KEY_LEFT, &kept, &bytes, &landed);
  std::map<long long, uint64_t> straight = straight_states(file);
  int right = 0;
  for (const auto &[waits, state] : landed) right += straight.count(waits) && straight[waits] == state;
  std::sort(spread.begin(), spread.end(), by_wall);
  if (spread.empty()) return;
  std::printf("  %-27s slowest %.3f s wall (%.3f s processor), median %.3f s wall\n", "24 seeks back, spread out",
              spread.back().wall, spread.back().cpu, spread[spread.size() / 2].wall);
  std::printf("  %-27s %d of %zu on the state of straight play\n", "landed", right, landed.size());
  std::printf("  %-27s %d, %.1f MB\n", "states kept at the end", kept, bytes / 1048576.0);
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
