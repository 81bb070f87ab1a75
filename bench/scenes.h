// Scenes of play shared by the benchmarks and the pixel-identity test, on
// the generated datafiles of the working directory: the start of level 1
// and the worst case that the renderer and the world tick must carry.
#pragma once

// A game's first level as level start leaves it (datafile, palette, colour
// tables, formation, stars), then the ship alive and every option on. Needs
// the headless twin with back_buffer and glow_layer made.
void start_level_one();

// Every record of play in use on top of the level: 40 enemies, 8 enemy
// shots, 12 player shots, 4 capsules, 3 standing rocks, 10 exhaust specks
// and 100 explosions of 100 live particles in the given style, moved a few
// ticks so that their trails have spread. No shot touches anything.
void fill_worst_case(int trail_style);

// Starts an explosion of 100 particles and moves every explosion `ticks`
// steps on: the building block of the varied scenes.
void add_explosion(int x, int y, int ramp, int trail_style);
void move_explosions_for(int ticks);
