// The shared tick loop: steps follow game_ticks whatever the drawing rate,
// and a stall is capped. (Time with the timer removed, as in the pause, is
// pinned by the replays.)
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "platform/platform.h"
#include "platform/platform_ops.h"
#include "tests/support/headless_game.h"

#include <algorithm>

namespace {

int inputs = 0, steps = 0, draws = 0, end_after = 0;
int behind_at_draw = 0;  // largest gap between ticks due and steps run when a frame is drawn

void count_input() { ++inputs; }
void count_step() {
  ++steps;
  if (steps == end_after) level_end = LEVEL_COMPLETE;
}
void count_draw() {
  ++draws;
  behind_at_draw = std::max(behind_at_draw, game_ticks - steps);
}

class TickLoopTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    make_frame_bitmaps();
    platform_open_display(DisplayRequest{1});
    inputs = steps = draws = behind_at_draw = 0;
    platform_install_timer(timer_tick);
  }
  void run(TickLoop &loop) { run_tick_loop(loop, count_input, count_step, count_draw); }
};

}  // namespace

TEST_F(TickLoopTest, StepsMatchTicksWhateverTheDrawingRate) {
  for (int per_frame : {0, 1, 3, 7}) {
    headless_twin.ticks_per_frame = per_frame;
    TickLoop loop;
    game_ticks = 0;
    steps = inputs = 0;
    level_end = LEVEL_PLAYING;
    end_after = 200;
    run(loop);
    // Every frame is drawn only once all due steps have run; the last
    // frame's own ticks are still to come when the loop leaves.
    EXPECT_EQ(std::tuple(behind_at_draw, loop.steps_done, steps, inputs), std::tuple(0, steps, game_ticks - per_frame, steps))
        << per_frame;
    EXPECT_GE(steps, 200);
  }
}

// The first pass draws once before any tick is due; the count and the first
// pass carry over to the next level, which draws nothing until a tick is due.
TEST_F(TickLoopTest, FirstPassDrawsOnceAndCarriesOverToTheNextLevel) {
  headless_twin.ticks_per_frame = 0;
  headless_twin.ticks_per_yield = 0;
  int yields = 0;
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind == Wait::Yield && ++yields % 3 == 0) level_end = LEVEL_GAME_OVER;
  });
  TickLoop loop;
  for (int pass = 0; pass < 2; ++pass) {
    level_end = LEVEL_PLAYING;
    run(loop);
    EXPECT_EQ(std::tuple(draws, steps, loop.first_pass), std::tuple(1, 0, false)) << pass;
  }
  game_ticks = 4;
  level_end = LEVEL_PLAYING;
  run(loop);
  EXPECT_EQ(std::pair(draws, loop.steps_done), std::pair(2, 4));
}

// A stall seen at the first frame's wait (ten thousand ticks at once): the
// next batch runs the last 60 steps of those due and drops the rest; the
// level end set during that batch is seen only after the batch and its frame.
TEST_F(TickLoopTest, AStallRunsAtMostOneSecondOfStepsAndLevelEndWaitsForTheBatch) {
  headless_twin.ticks_per_frame = 0;
  headless_twin.ticks_per_yield = 0;
  game_ticks = 5;
  end_after = 7;
  headless::set_hook([](const headless::Event &e) {
    if (e.kind == Wait::Present && e.frame == 1) platform_fire_timer(10000);
  });
  TickLoop loop;
  run(loop);
  EXPECT_EQ(std::tuple(steps, loop.steps_done, draws), std::tuple(5 + 60, 10005, 2));
}
