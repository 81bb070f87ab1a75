// For the real-window tests and the benchmark's pilot (bench/x_pilot.cpp),
// which follow a game played with real key events as a player follows the
// picture: with
// SWARMFIRE_PLAY_FEED=FILE set, every frame of a game's play (not the
// demo's) adds one line to FILE:
//   frame level lives level_end  x velocity friction_tick max_speed reverse
//   shots N, then x y width height dx dy for each enemy shot in flight
//   enemies N, then x y width height for each enemy
//   fired N, the shots fired in the level so far
// all on one line, numbers separated by spaces.
#pragma once

void feed_play_frame();
