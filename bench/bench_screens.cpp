// One frame of the title, the options screen, the level results and the
// ending, each in its busiest phase, timed inside whole runs of the screens.
#include "bench/bench_registry.h"
#include "bench/scenes.h"
#include "bench/screen_clock.h"
#include "frame/game_state.h"
#include "screens/ending.h"
#include "screens/level_results.h"
#include "screens/title.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct Phase {
  long first, last;  // frames timed
};

using Keys = std::function<void(long)>;

// Runs the screen once per iteration, with a fresh key script each time, and
// reports the mean frame of the phase.
void time_screen(benchmark::State &state, const std::function<void()> &screen,
                 const std::function<Keys()> &script, Phase phase) {
  for (auto _ : state) {
    std::vector<double> frames = frame_seconds(screen, script());
    if (std::getenv("SWARMFIRE_BENCH_FRAMES"))
      for (size_t i = 0; i < frames.size(); ++i) std::printf("%zu %.1f\n", i + 1, frames[i] * 1e6);
    state.SetIterationTime(mean_seconds(frames, phase.first, phase.last));
  }
}

// Presses a key once, on the given frame.
std::function<Keys()> press_at(long frame) {
  return [frame] {
    return [frame, done = false](long f) mutable {
      if (!done && f >= frame) {
        headless::press(KEY_SPACE);
        done = true;
      }
    };
  };
}

// Holds a key from the given frame on.
std::function<Keys()> hold_from(int scancode, long frame) {
  return [scancode, frame] {
    return [scancode, frame](long f) { headless::hold(scancode, f >= frame); };
  };
}

constexpr long TITLE_FRAMES = 120;

void title(benchmark::State &state) {
  time_screen(state, [] { show_title_screen(); }, hold_from(KEY_ALT, TITLE_FRAMES),
              {2, TITLE_FRAMES});
}

void options(benchmark::State &state) {
  title_data = load_datafile("title.dat");
  time_screen(state, show_options_screen, hold_from(KEY_ESC, TITLE_FRAMES), {2, TITLE_FRAMES});
  unload_datafile(title_data);
  title_data = nullptr;
}

// No shot fired: 50 frames of slide-in, the final picture, one idle frame
// and then the spin-away, whose first frames turn the whole picture.
void level_results(benchmark::State &state) {
  start_level_one();
  shots_fired = shots_hit = 0;
  time_screen(state, show_level_results, press_at(52), {53, 143});
}

// The closing zoom, which fills the screen with the turned last frame every
// frame, costs more than the drifting pictures before it.
void ending(benchmark::State &state) {
  time_screen(state, show_ending, press_at(450), {452, 501});
}

}  // namespace

void register_screen_benchmarks() {
  tuned(benchmark::RegisterBenchmark("screen_frame/title", title), 5, 3)->UseManualTime();
  tuned(benchmark::RegisterBenchmark("screen_frame/options", options), 5, 3)->UseManualTime();
  tuned(benchmark::RegisterBenchmark("screen_frame/level_results", level_results), 5, 3)
      ->UseManualTime();
  tuned(benchmark::RegisterBenchmark("screen_frame/ending", ending), 5, 3)->UseManualTime();
}
