// What play, the renderer and the screens need from the program frame
// (frame/program.cpp): the two drawing surfaces, the display options and a
// sound effect. They include this, not the program's own header.
#pragma once

#include <allegro.h>

extern BITMAP *back_buffer;  // every frame and screen is drawn here
extern BITMAP *glow_layer;   // light effects blended over play; options overlay

// A sample of "sound.dat" at centre pan, not looped.
void play_effect(int object, int volume, int frequency);
