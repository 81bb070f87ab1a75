// What play, the renderer and the screens need from the program frame
// (frame/program.cpp): the two drawing surfaces, the display options and a
// sound effect. They include this, not the program's own header.
#pragma once

#include <allegro.h>

extern BITMAP *back_buffer;  // every frame and screen is drawn here
extern BITMAP *glow_layer;   // light effects blended over play; options overlay

// Display options, all 1 at start-up.
extern int option_glow;
extern int option_scroll;
extern int option_music;
extern int option_stars;
extern int option_shot_collisions;
extern int option_effects;     // always 1
extern int option_background;  // always 1

// A sample of "sound.dat" at centre pan, not looped.
void play_effect(int object, int volume, int frequency);
