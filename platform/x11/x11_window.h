// Small requests about a window, on whichever connection the caller holds:
// its centre on the screen, and properties of 32-bit values.
#pragma once

#include <X11/Xlib.h>

// False when the window's place cannot be told (it is gone), or when it is
// not on show and `on_show_only`.
bool x11_centre_of(Display *display, Window window, int &x, int &y, bool on_show_only = false);

// A property of `count` CARDINALs, or of one ATOM named `value`.
void x11_put_cardinals(Display *display, Window window, const char *property, const long *values, int count);
void x11_put_atom(Display *display, Window window, const char *property, const char *value);
