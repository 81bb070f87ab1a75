// One tick of play: the worst case put back before every timed tick, and
// ordinary play running on from the start of level 1.
#include "bench/bench_registry.h"
#include "bench/scenes.h"
#include "bench/world_snapshot.h"
#include "platform/headless/headless_controls.h"
#include "world/world_tick.h"

namespace {

WorldSnapshot snapshot;  // a megabyte: not on the stack

void tick_worst(benchmark::State &state) {
  start_level_one();
  fill_worst_case(1);
  snapshot.save();
  for (auto _ : state) {
    state.PauseTiming();
    snapshot.restore();
    headless::clear_samples();
    state.ResumeTiming();
    world_tick();
  }
}

// Ten seconds of play without a pilot, then back to the start.
constexpr int ORDINARY_RUN = 600;

void tick_ordinary(benchmark::State &state) {
  start_level_one();
  snapshot.save();
  int ticks = 0;
  for (auto _ : state) {
    if (++ticks == ORDINARY_RUN) {
      state.PauseTiming();
      snapshot.restore();
      headless::clear_samples();
      ticks = 0;
      state.ResumeTiming();
    }
    world_tick();
  }
}

}  // namespace

void register_tick_benchmarks() {
  tuned(benchmark::RegisterBenchmark("world_tick/worst", tick_worst));
  tuned(benchmark::RegisterBenchmark("world_tick/ordinary", tick_ordinary));
}
