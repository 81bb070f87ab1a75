// The program's globals as a fresh process has them: the state of play
// (reset_play_state, frame/game_state.h), and the colour tables and
// drawing mode the library starts with. A watched replay that
// seeks back starts the game again from here; tests start each game so.
#pragma once

void reset_world_state();
