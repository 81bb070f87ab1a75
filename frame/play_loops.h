// The game loop, the demo loop and the tick loop they share.
#pragma once

// Most logic steps run back to back after a stall: one second of play.
constexpr int MAX_STEP_BACKLOG = 60;

#include "frame/tick_loop.h"

// Runs logic steps (input, then world) as game_ticks makes them due and
// draws and presents one frame after every batch, until level_end is set.
void run_tick_loop(TickLoop &loop, void (*input_step)(), void (*world_step)(),
                   void (*draw)());

void reset_game();
void run_game();
void run_demo();
