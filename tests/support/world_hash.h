// Test support: one number for the whole state of play and of the screens
// that keep state (records, counters, timers, the random generator, the
// score), and nothing drawn from the datafiles' art; and a way back to the
// start-of-run values of everything it reads.
#pragma once

#include <cstdint>

uint64_t world_hash();

// Every record array and counter world_hash reads, as a fresh program has
// them (and the globals of reset_program_globals).
void reset_world_state();
