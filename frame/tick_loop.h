// The tick loop's own counters (frame/play_loops.h).
#pragma once

// The tick loop's own counters: steps done since the loop's game or demo
// began, and whether the first frame is still to be drawn. Neither is reset
// between levels.
struct TickLoop {
  int steps_done = 0;
  bool first_pass = true;
};
