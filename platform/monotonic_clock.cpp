#include "platform/monotonic_clock.h"

#include <time.h>

#include <cerrno>

namespace {

constexpr long long NS_A_SECOND = 1'000'000'000;

}  // namespace

long long now_ns() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * NS_A_SECOND + t.tv_nsec;
}

void sleep_until(long long when) {
  timespec t{static_cast<time_t>(when / NS_A_SECOND), static_cast<long>(when % NS_A_SECOND)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
  }
}
