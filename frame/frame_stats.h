// Figures of the frames a run presented: the frames and logic steps of the
// whole run (a recording's trailer keeps them), and for tests and
// benchmarks of the real binary: with SWARMFIRE_FRAME_STATS=FILE set, the
// program writes at exit how many frames it presented over how long (and
// in each whole second from the first), how many logic steps each frame of
// play carried, and the frame and score of the last final results shown;
// with SWARMFIRE_LAST_FRAME=FILE.pcx, the picture on show at exit; with
// SWARMFIRE_RESULTS_PICTURE=FILE.pcx, the picture of the final results
// once their score and rating stand, the last time they were shown.
#pragma once

constexpr int STEP_COUNT_ROWS = 6;  // 0 to 4 steps, then 5 or more

void note_frame_presented();
// A frame of play drawn after `steps` logic steps.
void note_play_frame(int steps);
// The final results show this score, on the frame just presented.
void note_final_results(int score);
void write_frame_reports();

// Since the program started (count_from_start: at its start).
void count_from_start();
long long frames_presented();
long long logic_steps_run();
// Both counts as they stood at a kept state of a watched replay.
void set_frame_counts(long long frames, long long steps);
