// The real platform's waits on the display. The main thread sleeps on the
// X connection and its frame deadline together: it runs the library's X
// input handler as soon as events come (keys, focus, the close button,
// exposes), reads the Present extension's reports of frames shown and
// refreshes, and wakes at the deadline the pacer sets (frame_grid.h): just
// before the refresh that the next frame is for, or on the 60 Hz grid.
// The picture goes through the Present extension where the server has it
// (present_window.h), else onto the library's screen bitmap as before.
#pragma once

#include "platform/display/monitors.h"

#include <allegro.h>

// Once the library has its connection. With `read_input` the main thread
// runs the X input handler at its waits (our background thread left it);
// without, it only sleeps, and the library's thread reads the connection.
void x11_wait_start(bool read_input);

// A mode was set (or the window got another size): the picture, in the
// area of the window that is seen, through Present when the server has it
// (not with the library's own thread), else onto the library's screen
// bitmap.
void x11_wait_attach(BITMAP *target, const RGB *palette, const ScreenRect &area);
// Before the mode goes (a switch, or shutting down).
void x11_wait_detach();

// Waits for the next deadline; returns the ticks of the logic timer passed.
int x11_wait();
// What the connection holds, handled as a wait does, without waiting.
void x11_take_input();

// Whether frames go through the Present extension now.
bool x11_wait_presents();
