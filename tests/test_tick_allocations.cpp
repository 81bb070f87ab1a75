// No allocation in the tick loop: every allocation of the process (the C
// library's malloc, calloc and realloc, which the graphics library uses
// too, and operator new) is counted while the real tick loop plays - the
// demo's autopilot and the player's controls, input, world tick and frame -
// and while the worst case ticks and draws.
#include "bench/pilot.h"
#include "bench/scenes.h"
#include "combat/explosions.h"
#include "frame/autopilot.h"
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "tests/support/headless_game.h"
#include "world/world_tick.h"

#include <algorithm>
#include <cstdlib>
#include <new>

extern "C" void *__libc_malloc(size_t size) noexcept;
extern "C" void *__libc_calloc(size_t count, size_t size) noexcept;
extern "C" void *__libc_realloc(void *block, size_t size) noexcept;

namespace {

bool counting = false;
long allocations = 0;

void *counted(void *block) {
  if (counting) ++allocations;
  return block;
}

}  // namespace

extern "C" void *malloc(size_t size) noexcept { return counted(__libc_malloc(size)); }
extern "C" void *calloc(size_t count, size_t size) noexcept { return counted(__libc_calloc(count, size)); }
extern "C" void *realloc(void *block, size_t size) noexcept { return counted(__libc_realloc(block, size)); }

void *operator new(size_t size) {
  if (void *block = counted(__libc_malloc(size ? size : 1))) return block;
  throw std::bad_alloc();
}
void operator delete(void *block) noexcept { std::free(block); }
void operator delete(void *block, size_t) noexcept { std::free(block); }

namespace {

constexpr int TICKS_EACH = 5000;
int ticks_left = 0;

// The world step, ending the loop once enough ticks have been played.
void counted_world_tick() {
  world_tick();
  if (--ticks_left == 0) level_end = LEVEL_COMPLETE;
}

// Plays `ticks` ticks through the tick loop with this input step; a level
// that ends is started again (level start may allocate; it is not counted).
// The shots fired.
int play(int ticks, void (*input)()) {
  int fired = 0;
  ticks_left = ticks;
  while (ticks_left > 0) {
    start_level_one();
    platform_install_timer(timer_tick);
    TickLoop loop;
    counting = true;
    run_tick_loop(loop, input, counted_world_tick, draw_frame);
    counting = false;
    platform_remove_timer(timer_tick);
    fired += shots_fired;
    headless::clear_samples();
  }
  return fired;
}

using TickAllocationTest = HeadlessTest;

}  // namespace

// Also the worst case, ticked and drawn in both particle styles; and the
// count is seen to work.
TEST_F(TickAllocationTest, TenThousandTicksOfPlayAndTheWorstCaseAllocateNothing) {
  platform_open_display(DisplayRequest{1});
  make_frame_bitmaps();
  // The twin records every sample in a list: let it grow before counting.
  for (int i = 0; i < 4096; ++i) platform_play_sample(0, 0, 0, 0, 0);
  headless::clear_samples();
  int demo_shots = play(TICKS_EACH, autopilot_step);
  headless::set_hook([](const headless::Event &) { pilot_keys(); });
  int game_shots = play(TICKS_EACH, controls_step);
  start_level_one();
  fill_worst_case(1);
  counting = true;
  for (int t = 0; t < 300; ++t) {
    autopilot_step();
    world_tick();
    draw_frame();
    if (t == 150) fill_worst_case(0);
  }
  EXPECT_EQ(allocations, 0);
  EXPECT_GT(std::min(demo_shots, game_shots), 100);
  BITMAP *b = create_bitmap(8, 8);
  int *n = new int(3);
  counting = false;
  destroy_bitmap(b);
  delete n;
  EXPECT_GE(allocations, 2);
}
