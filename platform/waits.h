// The waits of the seam: every call in which the game hands the platform
// its time. Presenting a frame, yielding to a polling loop and waiting for
// a key fire the logic timer (ticking waits) and end a segment of the
// input log; the fades and the retrace are calls within one. A datafile
// load is no wait, but where a datafile refused in play stopped the game it
// stands as one, so that a recording keeps where.
#pragma once

#include <cstdint>

enum class Wait : uint8_t { Present, Yield, KeyWait, FadeIn, FadeOut, Vsync, DatafileLoad };
constexpr int WAIT_KINDS = 7;

inline bool ticking(Wait kind) { return kind == Wait::Present || kind == Wait::Yield || kind == Wait::KeyWait; }

// The most ticks of the logic timer that one wait hands the game: a minute's
// worth. A wait that comes later than that (a stopped process, a suspended
// machine) fires no more, live or replayed, so a recording holds exactly
// what the game was given.
constexpr int MOST_TICKS_PER_WAIT = 3600;
