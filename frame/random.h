// The one random generator of the whole program: a 32-bit linear
// congruential generator whose state is 1 at start and is never reseeded, so
// every run deals the same sequence.
#pragma once

#include <cstdint>

extern uint32_t random_state;
// Numbers drawn since the program started; tests use it to pin draw counts.
extern uint64_t random_draws;

// Next number, 0 to 32767.
int random_number();
