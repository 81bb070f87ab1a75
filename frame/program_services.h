// What play, the renderer and the screens need from the program frame
// (frame/program.cpp): the two drawing surfaces, a sound effect and the
// frame put on the screen. They include this, not the program's own header.
#pragma once

#include <allegro.h>

extern BITMAP *back_buffer;  // every frame and screen is drawn here
extern BITMAP *glow_layer;   // light effects blended over play; options overlay

// A sample of "sound.dat" at centre pan, not looped.
void play_effect(int object, int volume, int frequency);

// Puts back_buffer on the screen; every loop that draws a frame ends it so.
void present_frame();

// The 60 Hz logic timer's handler: one more tick of game_ticks. Play installs
// it while a level runs (platform_install_timer) and removes it around the
// pause and every screen.
void timer_tick();
