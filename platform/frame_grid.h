// The 60 Hz grid on a monotonic clock that paces every wait of the real
// platform: deadlines at exact sixtieths of a second from an anchor, so that
// frames leave without drift; a wait that comes late passes every deadline
// it missed and starts the grid again from now instead of bursting.
#pragma once

struct FrameGrid {
  long long anchor = -1;  // ns; -1 until the first wait
  long long index = 0;    // deadlines passed since the anchor
};

struct GridWait {
  long long until;  // ns: when the wait ends (now when it is late)
  int passed;       // deadlines passed, each a tick of the logic timer (at
                    // most MOST_TICKS_PER_WAIT)
};

constexpr long long GRID_HZ = 60;
constexpr long long NS_PER_SECOND = 1'000'000'000;

// The wait that starts now: the first one leaves at once.
GridWait grid_wait(FrameGrid &grid, long long now);
