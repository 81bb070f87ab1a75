// Kept states of a watched replay, so that a seek back need not replay the
// recording from its start. While a recording is watched, the state is kept
// at the top of a pass of the tick loop (where the loops hold nothing else
// but the loop's own count) at a level's first pass and every so many
// seconds: the play state, the loop's count, the colour tables, the palette
// and the picture on show, the frame counts, the recording's position and
// the viewer's looping samples. A seek back goes to the latest kept state at
// or before its moment: the program starts again as for a rewind, but its
// title and level start pass untaken straight to the tick loop, where the
// kept state is put back, and the replay goes on from there, unseen, to
// the moment sought.
//
// At most REPLAY_PLACES states are kept, each made the first time it is
// needed; when all are taken, every second one is let go and the spacing
// doubles, so a long recording keeps its states evenly spread.
#pragma once

#include "frame/tick_loop.h"

#include <cstddef>

// A watched replay begins, or one ends: none kept, the spacing as at first.
void forget_snapshots();
// At the top of each pass of a tick loop: keeps the state when one is due
// (a watched replay, the picture on show drawn), or puts it back from the
// kept state chosen for a seek.
void snapshot_or_resume(TickLoop &loop, bool picture_undrawn);
// Whether a state would be due at the pass reached at the replay's clock
// `waits` (the frame before it must then be drawn).
bool snapshot_due_by(long long waits);

// After a rewind (ReplayRewind): the latest kept state at or before the
// viewer's seek target is chosen to go on from. True when there is one.
bool choose_snapshot_for_seek();
// A chosen state waits to be put back at the tick loop.
bool resuming();
// The title's choice (game or demo) that led to the kept state.
int resumed_title_choice();

// For tests and benchmarks.
long long snapshots_restored();
int snapshots_kept();
size_t snapshots_bytes();
