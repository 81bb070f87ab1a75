#include "platform/frame_grid.h"

#include "platform/tick_backlog.h"

namespace {

long long deadline(const FrameGrid &grid, long long k) {
  return grid.anchor + k * NS_PER_SECOND / GRID_HZ;
}

}  // namespace

GridWait grid_wait(FrameGrid &grid, long long now) {
  if (grid.anchor < 0) {
    grid.anchor = now;
    grid.index = 0;
    return {now, 1};
  }
  long long next = deadline(grid, grid.index + 1);
  if (now <= next) {
    ++grid.index;
    return {next, 1};
  }
  // Late: count the deadlines missed, then anchor the grid at this moment.
  long long missed = (now - grid.anchor) * GRID_HZ / NS_PER_SECOND - grid.index;
  grid.anchor = now;
  grid.index = 0;
  if (missed < 1) missed = 1;
  return {now, static_cast<int>(missed > MOST_TICKS_PER_WAIT ? MOST_TICKS_PER_WAIT : missed)};
}
