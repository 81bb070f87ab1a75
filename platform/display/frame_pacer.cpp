#include "platform/display/frame_pacer.h"

#include "platform/waits.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

long long deadline(const FrameGrid &grid, long long k) {
  return grid.anchor + k * NS_PER_SECOND / GRID_HZ;
}

// --- The beat ---------------------------------------------------------------

void forget_samples(DisplayBeat &beat) {
  beat.count = beat.next = beat.off_line = 0;
  beat.period = 0;
}

// A straight line through the samples by least squares, once they span
// long enough: the period, and the line's time at the latest refresh
// (the display's own report of it jitters: Xvfb's by a millisecond).
void fit_line(DisplayBeat &beat) {
  const RefreshSample &latest = beat.samples[(beat.next + BEAT_SAMPLES - 1) % BEAT_SAMPLES];
  double sx = 0, sy = 0;
  long long first = latest.ust;
  for (int i = 0; i < beat.count; ++i) {
    sx += static_cast<double>(beat.samples[i].msc - latest.msc);
    sy += static_cast<double>(beat.samples[i].ust - latest.ust);
    if (beat.samples[i].ust < first) first = beat.samples[i].ust;
  }
  if (beat.count < 2 || latest.ust - first < BEAT_LEAST_SPAN) {
    beat.period = 0;
    return;
  }
  double mx = sx / beat.count, my = sy / beat.count, sxx = 0, sxy = 0;
  for (int i = 0; i < beat.count; ++i) {
    double x = static_cast<double>(beat.samples[i].msc - latest.msc) - mx;
    sxx += x * x;
    sxy += x * (static_cast<double>(beat.samples[i].ust - latest.ust) - my);
  }
  beat.period = sxy / sxx;
  beat.line_msc = latest.msc;
  beat.line_ust = static_cast<double>(latest.ust) + my - beat.period * mx;
  if (beat.period <= 0) forget_samples(beat);
}

bool period_known(const FramePacer &pacer) { return pacer.beat.period > 0; }

// The first refresh due at `when` or after.
long long refresh_at(const FramePacer &pacer, long long when) {
  const DisplayBeat &beat = pacer.beat;
  return beat.line_msc + static_cast<long long>(std::ceil((when - beat.line_ust) / beat.period));
}

// When the wait for refresh `msc` ends.
long long deadline_of(const FramePacer &pacer, long long msc) { return pacer_time_of(pacer, msc) - pacer.margin; }

// 60, 120, 180 or 240 Hz within 1%: the refreshes per step; else 0.
int locking_divisor(double period) {
  double rate = NS_PER_SECOND / period;
  for (int d = 1; d <= 4; ++d)
    if (std::fabs(rate - GRID_HZ * d) <= GRID_HZ * d / 100.0) return d;
  return 0;
}

void choose_mode(FramePacer &pacer) {
  PaceMode mode = PaceMode::AtOnce;
  int divisor = 0;
  if (period_known(pacer) && pacer.beat.period <= BEAT_STALL) {
    divisor = locking_divisor(pacer.beat.period);
    mode = divisor ? PaceMode::Locked : PaceMode::AtRefresh;
  }
  if (mode != pacer.mode || divisor != pacer.divisor) {
    // The grid starts again when it takes over; a lock starts at the next
    // refresh it can make.
    if (mode != PaceMode::Locked && pacer.mode == PaceMode::Locked) pacer.grid = FrameGrid{};
    pacer.target = 0;
  }
  pacer.mode = mode;
  pacer.divisor = divisor;
}

PacedWait locked_wait(FramePacer &pacer, long long now) {
  if (pacer.target == 0) {
    pacer.target = refresh_at(pacer, now + pacer.margin);
    return {deadline_of(pacer, pacer.target), 1, pacer.target, false};
  }
  long long step = pacer.divisor;
  long long next = pacer.target + step;
  if (now < deadline_of(pacer, next)) {
    pacer.target = next;
    return {deadline_of(pacer, next), 1, next, false};
  }
  // Late: every step whose deadline went by, at once.
  long long missed = 1 + static_cast<long long>((now - deadline_of(pacer, next)) / (pacer.beat.period * step));
  pacer.target += missed * step;
  int passed = static_cast<int>(missed > MOST_TICKS_PER_WAIT ? MOST_TICKS_PER_WAIT : missed);
  return {now, passed, pacer.target, false};
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

PacedWait pacer_wait(FramePacer &pacer, long long now) {
  if (pacer.awaited >= 0 && now > pacer.awaited_by) {
    // Stalled: learnt again from the next report on.
    forget_samples(pacer.beat);
    pacer.awaited_by = LLONG_MAX;
  }
  choose_mode(pacer);
  if (pacer.mode == PaceMode::Locked) return locked_wait(pacer, now);
  GridWait wait = grid_wait(pacer.grid, now);
  if (pacer.mode == PaceMode::AtOnce) return {wait.until, wait.passed, 0, true};
  pacer.target = refresh_at(pacer, wait.until + pacer.margin);
  return {wait.until, wait.passed, pacer.target, false};
}

void pacer_asked(FramePacer &pacer, long long msc, long long now) {
  if (pacer.awaited >= 0) return;
  pacer.awaited = msc;
  pacer.awaited_by = (period_known(pacer) ? pacer_time_of(pacer, msc) : now) + BEAT_STALL;
}

void pacer_refresh(FramePacer &pacer, long long msc, long long ust, long long now) {
  DisplayBeat &beat = pacer.beat;
  if (pacer.awaited >= 0 && msc >= pacer.awaited) pacer.awaited = -1;
  if (msc == beat.last_msc) return;
  if (ust < 0) {
    beat.last_msc = msc;
    return;
  }
  bool went_back = msc < beat.last_msc;
  beat.last_msc = msc;
  beat.last_seen = now;
  // A refresh off the line by a quarter period is taken for a late report
  // and left out; several in a row, or a counter gone back, mean another
  // display (a new mode, another monitor): learnt anew.
  bool off_line = period_known(pacer) && std::fabs(ust - pacer_time_of(pacer, msc)) > beat.period / 4;
  beat.off_line = off_line ? beat.off_line + 1 : 0;
  if (off_line && beat.off_line < BEAT_OFF_LINE) return;
  if (went_back || off_line) forget_samples(beat);
  beat.samples[beat.next] = {msc, ust};
  beat.next = (beat.next + 1) % BEAT_SAMPLES;
  if (beat.count < BEAT_SAMPLES) ++beat.count;
  fit_line(beat);
}

void pacer_shown(FramePacer &pacer, long long target, long long shown_at, long long lead) {
  // (The margin never comes back down: easing it back tried the display's
  // limit again every few seconds, and on a busy machine missed refreshes.)
  if (shown_at <= target || lead <= 0 || !period_known(pacer)) return;
  // Sent that early and still late: the display wants more time than that.
  long long step = static_cast<long long>(pacer.beat.period) * (pacer.divisor > 0 ? pacer.divisor : 1);
  long long wanted = lead + static_cast<long long>(pacer.beat.period / 4), most = step - NS_PER_MS;
  if (wanted > most) wanted = most;
  if (wanted > pacer.margin) pacer.margin = wanted;
}

long long pacer_notify_wanted(const FramePacer &pacer, long long now) {
  const DisplayBeat &beat = pacer.beat;
  if (pacer.awaited >= 0) return -1;
  if (!period_known(pacer) || beat.period > BEAT_STALL) return beat.last_msc < 0 ? 0 : beat.last_msc + 1;
  if (now - beat.last_seen < BEAT_REFRESH_AGE) return -1;
  return refresh_at(pacer, now) + 1;
}

long long pacer_time_of(const FramePacer &pacer, long long msc) {
  return static_cast<long long>(pacer.beat.line_ust + (msc - pacer.beat.line_msc) * pacer.beat.period);
}

long long pacer_period(const FramePacer &pacer) { return static_cast<long long>(pacer.beat.period); }
