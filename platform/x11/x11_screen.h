// What the X server tells of the screen and of the game's window on it:
// the monitors (RandR 1.5), the pointer and the keys held, the window's
// centre, and the size the window really has, which a window manager may
// choose for it. On a connection of our own (the watcher of x_errors.h),
// used by the main thread alone. Only the real platform calls these.
#pragma once

#include "platform/display/monitors.h"

#include <X11/Xlib.h>

// At start, with the connection; at shutdown, before it closes.
void x11_screen_use(Display *own);
void x11_screen_release();
// That connection, for other requests of the main thread (null before).
Display *x11_screen_display();

// The monitors the server lists now: none without RandR 1.5.
Monitors x11_monitors();
// The pointer on the screen; false when that is not known.
bool x11_pointer(int &x, int &y);
// Whether the key (an X keysym) is held down now, whichever window has the
// keyboard.
bool x11_key_held(unsigned long keysym);
// The centre of the game's window on the screen, while it is on show.
bool x11_window_centre(int &x, int &y);

// Once a mode is set: the window's size is followed from now on. Gives its
// size now.
void x11_window_follow(int &w, int &h);
// At a wait: true when the window has had another size since; the newest
// is given.
bool x11_window_resized(int &w, int &h);
// The library draws into a window of the mode's size at the top-left
// corner of the window the window manager sees; this moves it within.
void x11_drawing_window_at(int x, int y);
