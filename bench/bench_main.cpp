// The benchmark program: the game's core over the headless twin, run from
// the folder of the generated datafiles. `--smoke` runs every benchmark for
// one iteration (the tests do, so that none can rot); otherwise the figures
// are followed by a table of the targets.
#include "bench/bench_registry.h"
#include "frame/program.h"
#include "platform/headless.h"
#include "platform/platform.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

bool smoke_run = false;

Bench *tuned(Bench *b, int repetitions, int iterations) {
  b->Unit(benchmark::kMicrosecond);
  if (smoke_run) return b->Iterations(1)->Repetitions(1);
  b->Repetitions(repetitions)->ReportAggregatesOnly(true);
  if (iterations > 0)
    b->Iterations(iterations);
  else
    b->MinTime(0.2);
  b->ComputeStatistics("min", [](const std::vector<double> &v) {
    return *std::min_element(v.begin(), v.end());
  });
  b->ComputeStatistics("max", [](const std::vector<double> &v) {
    return *std::max_element(v.begin(), v.end());
  });
  return b;
}

namespace {

// Keeps the median of every benchmark, in milliseconds, for the targets.
class MedianKeeper : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> medians;
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs)
      if (r.aggregate_name == "median" || (smoke_run && r.aggregate_name.empty()))
        medians[r.run_name.function_name] =
            r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e3;
    ConsoleReporter::ReportRuns(runs);
  }
};

struct Target {
  const char *what;
  const char *benchmark;
  double limit_ms;
};

const Target targets[] = {
    {"draw_frame, worst case", "draw_frame/worst", 1.0},
    {"draw_frame, ordinary frame", "draw_frame/ordinary", 0.3},
    {"world_tick, worst case", "world_tick/worst", 0.1},
};

double median_of(const MedianKeeper &k, const char *name) {
  auto it = k.medians.find(name);
  return it == k.medians.end() ? -1 : it->second;
}

void print_targets(const MedianKeeper &k) {
  std::printf("\n%-36s %12s %10s  %s\n", "Target", "median", "limit", "");
  for (const Target &t : targets) {
    double m = median_of(k, t.benchmark);
    std::printf("%-36s %9.3f ms %7.3f ms  %s\n", t.what, m, t.limit_ms,
                m >= 0 && m <= t.limit_ms ? "met" : "NOT met");
  }
  double fast = median_of(k, "draw_frame/worst");
  double plain = median_of(k, "straightforward_frame/worst");
  if (fast > 0 && plain > 0)
    std::printf("%-36s %10.1f x %8s x  %s\n", "worst frame against the baseline", plain / fast,
                "3.0", plain / fast >= 3.0 ? "met" : "NOT met");
}

// The datafiles are found in the working directory, as by the game.
void enter_data_folder() {
  const char *folder = std::getenv("SWARMFIRE_DATA");
  if (!folder) folder = SWARMFIRE_DATA_DIR;
  if (chdir(folder) != 0) {
    std::fprintf(stderr, "swarmfire_bench: cannot enter %s\n", folder);
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char **argv) {
  std::vector<char *> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0)
      smoke_run = true;
    else
      args.push_back(argv[i]);
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  enter_data_folder();
  platform_start_up();
  set_video_mode();

  register_frame_benchmarks();
  register_tick_benchmarks();
  register_screen_benchmarks();
  register_loading_benchmarks();
  MedianKeeper keeper;
  benchmark::RunSpecifiedBenchmarks(&keeper);
  if (!smoke_run) print_targets(keeper);
  benchmark::Shutdown();
  return 0;
}
