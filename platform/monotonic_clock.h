// The one clock of the real platform's timing: the monotonic clock in
// nanoseconds, and a sleep until a moment of it (a signal does not cut it
// short).
#pragma once

long long now_ns();
void sleep_until(long long when);
