// The platform seam: the only code that talks to the display, the timer, the
// keyboard and key buffer, the vertical retrace and the sound device.
//
// Two implementations link against the same game code:
//   platform_allegro.cpp  - the real game, through Allegro's drivers;
//   platform_headless.cpp - no hardware at all, for tests and tools
//                           (see headless.h for the controls it adds).
// Everything above this seam draws with Allegro on memory bitmaps directly.
#pragma once

#include <allegro.h>

#include <string>

// Thrown out of any wait (presenting a frame, polling, waiting for a key)
// once the window's close button has been pressed; the program frame catches
// it and shuts down cleanly.
struct QuitRequested {};

// Before anything else: empty when a display can be opened, else one line
// saying what is missing and what to do.
std::string platform_preflight();

// Library, timer, keyboard and sound, in that order. Empty when the library
// could be started (a missing sound device is not a failure), else why not.
std::string platform_start_up();
// Sound, keyboard, timer, then the library itself.
void platform_shut_down();

// Sets the video mode at the library's default 8-bit depth; 0 on success.
int platform_set_gfx_mode(int width, int height);
// Text of the library's last error, for messages.
std::string platform_last_error();

// The visible screen bitmap (for reading it back: pause, screenshot, zoom).
BITMAP *platform_screen();
int platform_screen_width();
int platform_screen_height();
void platform_clear_screen();

// Waits for the vertical retrace, then copies a 320 x 240 frame to the screen,
// 1:1 on a 320-wide screen and stretched to the screen size otherwise.
void platform_present(BITMAP *frame);
void platform_vsync();

void platform_set_palette(const RGB *palette);
void platform_set_desktop_palette();
void platform_fade_in(const RGB *palette, int speed);
void platform_fade_out(int speed);

// The 60 Hz logic timer: install_int_ex(handler, BPS_TO_TIMER(60)).
void platform_install_timer(void (*handler)());
void platform_remove_timer(void (*handler)());

// Held state of a key (Allegro scancode, KEY_*).
bool platform_key(int scancode);
bool platform_keypressed();
int platform_readkey();
void platform_clear_keybuf();

// Gives the CPU back while a loop polls for time or keys.
void platform_yield();

// Samples are addressed by their object number in the sound bank
// ("sound.dat"); a missing bank or object plays nothing.
void platform_set_sound_bank(DATAFILE *bank);
void platform_play_sample(int object, int volume, int pan, int frequency, int loop);
void platform_stop_sample(int object);
