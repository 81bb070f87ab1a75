// Stand-ins for the recording fuzzer: a game that asks the platform seam
// what the game asks (key states by tick, the key buffer, the focus, the
// pause's wait for P, fades, a wait for the retrace, frames) and chooses its
// next calls from the answers as the game does, so that a replay can be
// steered down its paths; and a platform under the seam with nothing behind
// it, whose live answers (for recording seeds) come from a seeded sequence.
#pragma once

#include <allegro.h>

#include <cstdint>

// The stand-in platform, chosen for the seam. Its live inputs follow the
// sequence of `seed`; with `close_at` above 0, the close button is pressed
// at that wait.
void use_stand_in_platform(uint32_t seed, long close_at = 0);
// Waits the stand-in platform was asked for since it was chosen.
long stand_in_waits();

// Runs until the seam throws QuitRequested (the close button, or a replay
// that ended or fell out of step), or returns when Q and Enter are held
// together in a step.
void run_stand_in_game(BITMAP *frame);
