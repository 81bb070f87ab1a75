// The one clock of the real platform's timing: the monotonic clock in
// nanoseconds, and a sleep until a moment of it (a signal does not cut it
// short).
#pragma once

// The clock's units.
constexpr long long NS_PER_SECOND = 1'000'000'000;
constexpr long long NS_PER_MS = 1'000'000;

long long now_ns();
void sleep_until(long long when);
