// The benchmark program: the game's core over the headless twin, run from
// the folder of the generated datafiles. `--smoke` runs every benchmark for
// one iteration (the tests do, so that none can rot); otherwise the figures
// are followed by a table of the targets.
#include "bench/bench_registry.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/headless/headless_controls.h"
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

// Keeps the medians of every benchmark, wall and CPU time in milliseconds,
// for the targets.
class MedianKeeper : public benchmark::ConsoleReporter {
 public:
  struct Medians {
    double wall, cpu;
  };
  std::map<std::string, Medians> medians;
  explicit MedianKeeper(OutputOptions options) : ConsoleReporter(options) {}
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &r : runs)
      if (r.aggregate_name == "median" || (smoke_run && r.aggregate_name.empty())) {
        double to_ms = 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        medians[r.run_name.function_name] = {r.GetAdjustedRealTime() * to_ms,
                                             r.GetAdjustedCPUTime() * to_ms};
      }
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

// Met on the wall clock; or met on CPU time only, when the wall clock also
// counts the time other processes had the processor.
const char *verdict(double wall, double cpu, double limit, bool at_most) {
  auto within = [&](double v) { return at_most ? v <= limit : v >= limit; };
  if (wall > 0 && within(wall)) return "met";
  if (cpu > 0 && within(cpu)) return "met on CPU time only (the processor was shared)";
  return "NOT met";
}

void print_targets(const MedianKeeper &k) {
  auto get = [&](const char *name) {
    auto it = k.medians.find(name);
    return it == k.medians.end() ? MedianKeeper::Medians{-1, -1} : it->second;
  };
  std::printf("\n%-34s %12s %12s %11s\n", "Target", "wall median", "CPU median", "limit");
  for (const Target &t : targets) {
    MedianKeeper::Medians m = get(t.benchmark);
    std::printf("%-34s %9.3f ms %9.3f ms %8.3f ms  %s\n", t.what, m.wall, m.cpu, t.limit_ms,
                verdict(m.wall, m.cpu, t.limit_ms, true));
  }
  MedianKeeper::Medians fast = get("draw_frame/worst"), plain = get("straightforward_frame/worst");
  if (fast.wall > 0 && plain.wall > 0)
    std::printf("%-34s %10.1f x %10.1f x %9.1f x  %s\n", "worst frame against the baseline",
                plain.wall / fast.wall, plain.cpu / fast.cpu, 3.0,
                verdict(plain.wall / fast.wall, plain.cpu / fast.cpu, 3.0, false));
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
  back_buffer = create_bitmap(320, 240);
  glow_layer = create_bitmap(320, 240);
  clear(back_buffer);
  set_video_mode();

  register_frame_benchmarks();
  register_tick_benchmarks();
  register_screen_benchmarks();
  register_loading_benchmarks();
  MedianKeeper keeper(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                           : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&keeper);
  if (!smoke_run) print_targets(keeper);
  benchmark::Shutdown();
  return 0;
}
