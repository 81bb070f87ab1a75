// Fullscreen as a window: the library's windowed driver opens a window of
// the monitor's size, and the window manager is asked to show it above
// everything through the desktop's standard window state, as players expect
// of "borderless fullscreen". Nothing is grabbed and the video mode stays:
// the desktop's shortcuts keep working and the focus can leave the game.
// Only the real platform calls these; they talk to the library's X window.
#pragma once

#include "platform/display/display_modes.h"

// Before each mode is set. For the monitor-sized window (still unmapped):
// the fullscreen state, no compositor and no decorations on the window, and
// the window at the monitor's top-left corner, where it covers the monitor
// even with no window manager. For any other mode: the window gets back
// what a plain window has. Either goes to its place when it has one, as it
// is mapped, its size hints telling the window manager (x11_place_hints.h).
void x11_fullscreen_before(bool fullscreen, const WindowPlace &place);

// The monitor-sized window is mapped: the window manager is asked to show
// it fullscreen on that monitor (`index`, its place in the server's list,
// when the screen has several; -1 on one), its size no longer fixed by the
// size hints (a fixed size makes some window managers refuse).
void x11_fullscreen_shown(const ScreenRect &monitor, int index);

// Any other window is mapped: one that a window manager placed on another
// monitor than the game's is asked to go to its place there.
void x11_plain_window_shown(const ScreenRect &monitor, const WindowPlace &place);
