// The pace of every wait of the real platform. Without notices from the
// display: the 60 Hz grid on a monotonic clock, deadlines at exact
// sixtieths of a second from an anchor, so that frames leave without drift;
// a wait that comes late passes every deadline it missed and starts the
// grid again from now instead of bursting.
//
// With the display's own refreshes reported (the X Present extension: the
// counter of refreshes, MSC, and the time of each, UST), the pacer learns
// the refresh period and, at 60, 120, 180 or 240 Hz (within 1%), locks the
// steps to it: one step every 1, 2, 3 or 4 refreshes, each wait ending
// `margin` before the refresh that its frame is for, so that the step reads
// the keys as late as it can. At any other rate the grid paces the steps
// and each frame is aimed at the first refresh it can make; while the
// refreshes stall (over 50 ms apart, or one asked for overdue by that much:
// a hidden window, a blanked screen) or before the period is known, frames
// go at once, on the grid.
#pragma once

#include "platform/sys/monotonic_clock.h"

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

// The wait that starts now: the first one leaves at once.
GridWait grid_wait(FrameGrid &grid, long long now);

// --- The display's beat -----------------------------------------------------

constexpr int BEAT_SAMPLES = 64;
// The period is known once the samples span this long.
constexpr long long BEAT_LEAST_SPAN = 250 * NS_PER_MS;
// Refreshes further apart than this, or one overdue by this much, stall.
constexpr long long BEAT_STALL = 50 * NS_PER_MS;
// How long before its refresh a frame is sent at first; raised when the
// display shows frames sent that early a refresh late.
constexpr long long FIRST_MARGIN = 4 * NS_PER_MS;
// Word of a refresh is asked for at least this often while nothing is
// shown (a still title), to follow the display's drift.
constexpr long long BEAT_REFRESH_AGE = 500 * NS_PER_MS;

// Reports in a row this far off the line mean another display.
constexpr int BEAT_OFF_LINE = 3;

struct RefreshSample {
  long long msc, ust;  // ust in ns on the monotonic clock
};

// The refreshes reported lately and the line through them.
struct DisplayBeat {
  RefreshSample samples[BEAT_SAMPLES];
  int count = 0, next = 0;
  double period = 0;              // ns per refresh; 0 while unknown
  long long line_msc = 0;         // a point of the fitted line: the latest
  double line_ust = 0;            // refresh and when it was (fitted)
  long long last_msc = -1;        // the latest refresh reported
  long long last_seen = 0;        // when it came (our clock)
  int off_line = 0;               // reports in a row off the line
};

enum class PaceMode {
  AtOnce,     // the grid; frames shown at once (period unknown, or stalled)
  AtRefresh,  // the grid; each frame at the first refresh it can make
  Locked,     // one step every `divisor` refreshes
};

struct FramePacer {
  FrameGrid grid;
  DisplayBeat beat;
  PaceMode mode = PaceMode::AtOnce;
  int divisor = 0;                 // refreshes per step while locked
  long long target = 0;            // the refresh the frame now drawn is for
  long long margin = FIRST_MARGIN; // ns before that refresh the wait ends
  long long awaited = -1;          // a refresh asked for, not yet reported
  long long awaited_by = 0;        // when it is overdue (ns)
};

struct PacedWait {
  long long until;   // ns
  int passed;        // ticks of the logic timer
  long long target;  // the refresh frames are for until the next wait; 0: the next one
  bool at_once;      // frames shown at once, not at a refresh
};

// The wait that starts now.
PacedWait pacer_wait(FramePacer &pacer, long long now);

// Something was sent for refresh `msc` (a frame, or a request for a notice of
// it) at `now`.
void pacer_asked(FramePacer &pacer, long long msc, long long now);
// Refresh `msc` happened at `ust` (the display's report, come at `now`); a
// `ust` below 0 gives the counter alone (a notice of the current refresh,
// answered at once, carries no refresh's time).
void pacer_refresh(FramePacer &pacer, long long msc, long long ust, long long now);
// A frame aimed at refresh `target`, sent `lead` ns before its predicted
// time, was shown at refresh `shown_at`: late though sent in time, the margin
// grows (at most to a step less 1 ms).
void pacer_shown(FramePacer &pacer, long long target, long long shown_at, long long lead);
// The refresh to ask a notice of now, or -1: while the period is being learnt,
// the next one; else one soon when the latest report is old.
long long pacer_notify_wanted(const FramePacer &pacer, long long now);

// When refresh `msc` is due (ns); only while the period is known.
long long pacer_time_of(const FramePacer &pacer, long long msc);
// The display's period in ns, 0 while unknown.
long long pacer_period(const FramePacer &pacer);
