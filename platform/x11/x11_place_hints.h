// The window manager learns where a window goes from its size hints
// (WM_NORMAL_HINTS), read when the window is mapped. The library writes
// them just before it maps its window, with the size alone, so a manager
// places the window as it likes (xfwm4 at the top left). The game defines
// Xlib's XSetWMNormalHints itself, which the library's call reaches first:
// there the window is moved to its place and the hints say so.
#pragma once

#include <X11/Xlib.h>

// The window's size hints, written by the library before it maps the
// window, give it the place (x, y) from now on; x11_no_place_hints: they
// give none.
void x11_place_at_mapping(Window window, int x, int y);
void x11_no_place_hints();
