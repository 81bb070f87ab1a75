// Test support: a way back to the start-of-run values of everything the
// world hash (frame/world_hash.h) reads.
#pragma once

#include "frame/world_hash.h"

// Every record array and counter world_hash reads, as a fresh program has
// them (and the globals of reset_program_globals).
void reset_world_state();
