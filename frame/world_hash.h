// One number for the whole state of play and of the screens that keep state
// (records, counters, timers, the random generator, the score), and nothing
// drawn from the datafiles' art: the same game gives the same number on any
// display, or none. A recording's trailer keeps it, and the tests' stored
// games chain it after every wait.
#pragma once

#include <cstdint>

uint64_t world_hash();
