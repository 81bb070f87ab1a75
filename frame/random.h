// The one random generator of the whole program: a 32-bit linear
// congruential generator whose state is 1 at start and is never reseeded, so
// every run deals the same sequence.
#pragma once

// Its state and the numbers drawn so far are in the state of play
// (frame/game_state.h).

// Next number, 0 to 32767.
int random_number();
