// The viewer of a recording watched in the window (--play): below the
// game, which still sees only the recorded inputs, it reads its own keys
// from the live key buffer at every wait and decides how that wait passes.
// Its keys, as players read them, are the viewer rows of frame/key_guide.cpp
// (--help prints them); "." steps one wait of the recording (1/60 s).
//
// Time is the recording's own clock: its waits that fired the logic timer,
// 60 a second (input_log_waits). Ahead, the waits up to the moment sought
// pass at once: the game runs, draws into its memory and presents to the
// logical screen, but nothing reaches the display or the sound device and
// nobody waits for the clock. Back, the program is thrown back to its start
// (ReplayRewind) and replayed from the first record in the same way. Faster
// than 1x, only every n-th wait is shown and waited for; slower, each is
// shown for n of the display's sixtieths. Sound plays only at 1x.
//
// A small mark (REPLAY, the time and the length, the speed, a thin bar)
// is drawn over the display's copy of the picture, never into the logical
// screen, for two seconds after each key and at the start, and while
// paused.
#pragma once

#include "platform/recording/viewer_marks.h"
#include "platform/waits.h"

// Thrown out of a wait when a seek goes back: the program frame starts the
// game again from its beginning, on the display and platform it has (the
// platform's start-up and display opening pass), after input_log_rewind.
struct ReplayRewind {};

// For the program entry: the viewer from its first state (1x, playing, the
// mark showing) for the next watched replay, and back to plain play after
// it.
void viewer_start();
void viewer_stop();

// While a seek passes waits at once: whether every wait before `waits`
// (of the recording's clock) passes so, unseen.
bool viewer_unseen_before(long long waits);

// The moment a seek is going to (the recording's clock), or -1.
long long viewer_seek_target();

// The looping samples the viewer keeps in mind, kept into a slot of the
// input log's places (REPLAY_PLACES) and back, so that a seek that goes
// back to a kept place starts the same loops when sound comes back.
void viewer_keep_loops(int slot);
void viewer_go_to_loops(int slot);

// --- For the seam (platform/seam.cpp) ----------------------------------------

// At the start of every wait while a watched replay runs: acts on the
// viewer's keys, holds here while paused, throws ReplayRewind for a seek
// back. True when this wait is to pass at once; `stop` set for Esc.
bool viewer_before_wait(Wait kind, bool &stop);

// Whether a sample is played now (1x, not paused, not seeking). Looping
// samples are kept in mind either way, to start again when sound comes
// back, and stopped while it is off.
bool viewer_plays_sample(int object, int volume, int pan, int frequency, int loop);
void viewer_sample_stopped(int object);

