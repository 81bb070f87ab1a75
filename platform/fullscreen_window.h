// Fullscreen as a window: the library's windowed driver opens a window of
// the desktop's size, and the window manager is asked to show it above
// everything through the desktop's standard window state, as players expect
// of "borderless fullscreen". Nothing is grabbed and the video mode stays:
// the desktop's shortcuts keep working and the focus can leave the game.
// Only the real platform calls these; they talk to the library's X window.
#pragma once

// Before each mode is set. For the desktop-sized window (still unmapped):
// the fullscreen state, no compositor and no decorations on the window, and
// the window at the screen's top-left corner, where it covers the screen
// even with no window manager. For any other mode: the window gets back
// what a plain window has.
void fullscreen_window_before(bool fullscreen);

// The desktop-sized window is mapped: the window manager is asked to show
// it fullscreen, its size no longer fixed by the size hints (a fixed size
// makes some window managers refuse).
void fullscreen_window_shown();
