// Loading: each of the four level datafiles with its colour tables, and the
// start-up check of all eight datafiles.
#include "bench/bench_registry.h"
#include "frame/datafile_check.h"
#include "frame/game_state.h"
#include "frame/level_start.h"

namespace {

// The first level of each graphics set loads its datafile afresh.
void load_level(benchmark::State &state) {
  for (auto _ : state) {
    level = static_cast<int>(state.range(0));
    load_level_data();
  }
}

void startup_check(benchmark::State &state) {
  for (auto _ : state) benchmark::DoNotOptimize(datafiles_problem("."));
}

}  // namespace

void register_loading_benchmarks() {
  tuned(benchmark::RegisterBenchmark("load_level_data", load_level)->Arg(1)->Arg(4)->Arg(7)->Arg(10),
        5);
  tuned(benchmark::RegisterBenchmark("startup_check/eight_datafiles", startup_check), 5);
}
