// One frame of play: the worst case and an ordinary one with the game's own
// renderer, and the worst case drawn the straightforward way beside it.
#include "bench/bench_registry.h"
#include "bench/reference_frame.h"
#include "bench/scenes.h"
#include "frame/program.h"
#include "render/draw_frame.h"

namespace {

// Each frame presented, as the play loops do.
void draw_worst(benchmark::State &state, int trail_style, void (*draw)()) {
  start_level_one();
  fill_worst_case(trail_style);
  for (auto _ : state) {
    draw();
    present_frame();
  }
}

void draw_ordinary(benchmark::State &state) {
  start_level_one();
  for (auto _ : state) {
    draw_frame();
    present_frame();
  }
}

}  // namespace

void register_frame_benchmarks() {
  tuned(benchmark::RegisterBenchmark("draw_frame/worst", draw_worst, 1, draw_frame));
  tuned(benchmark::RegisterBenchmark("draw_frame/worst_blobs", draw_worst, 0, draw_frame));
  tuned(benchmark::RegisterBenchmark("straightforward_frame/worst", draw_worst, 1,
                                     reference_draw_frame));
  tuned(benchmark::RegisterBenchmark("draw_frame/ordinary", draw_ordinary));
}
