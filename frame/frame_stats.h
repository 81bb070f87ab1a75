// Figures of the frames a run presented, for tests and benchmarks of the
// real binary: with SWARMFIRE_FRAME_STATS=FILE set, the program writes at
// exit how many frames it presented over how long (and in each whole second
// from the first), and how many logic steps each frame of play carried; with SWARMFIRE_LAST_FRAME=FILE.pcx, the
// picture on show at exit.
#pragma once

constexpr int STEP_COUNT_ROWS = 6;  // 0 to 4 steps, then 5 or more

void note_frame_presented();
// A frame of play drawn after `steps` logic steps.
void note_play_frame(int steps);
void write_frame_reports();
