// Windows: the performance counter, and sleeps that the system's 1 ms timer
// brings within a millisecond, the last of it waited out by yielding.
#include "platform/sys/monotonic_clock.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

namespace {

constexpr long long YIELD_BELOW = 2 * NS_PER_MS;

long long counter_frequency() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return f.QuadPart;
}

}  // namespace

long long now_ns() {
  static const long long frequency = counter_frequency();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart / frequency * NS_PER_SECOND + c.QuadPart % frequency * NS_PER_SECOND / frequency;
}

void sleep_until(long long when) {
  static const bool fine_timer = timeBeginPeriod(1) == TIMERR_NOERROR;
  for (long long left = when - now_ns(); left > 0; left = when - now_ns()) {
    if (fine_timer && left > YIELD_BELOW)
      Sleep(static_cast<DWORD>((left - YIELD_BELOW / 2) / NS_PER_MS));
    else
      Sleep(0);
  }
}
