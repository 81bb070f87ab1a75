// The most ticks of the logic timer that one wait hands the game: a minute's
// worth. A wait that comes later than that (a stopped process, a suspended
// machine) fires no more, live or replayed, so a recording holds exactly
// what the game was given.
#pragma once

constexpr int MOST_TICKS_PER_WAIT = 3600;
