#include "platform/sys/monotonic_clock.h"

#include <time.h>

#include <cerrno>

long long now_ns() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * NS_PER_SECOND + t.tv_nsec;
}

void sleep_until(long long when) {
  timespec t{static_cast<time_t>(when / NS_PER_SECOND), static_cast<long>(when % NS_PER_SECOND)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
  }
}
