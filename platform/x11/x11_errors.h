// What becomes of the game when the X server takes its window or its
// connection away: another program destroys the window (xkill, a crashed
// window manager, xdotool windowclose), or the server dies or drops the
// connection (logout). Xlib's own answer to either is to end the process
// from whichever thread met the error, the library's input thread as
// likely as the main one, while the other still draws: a crash and a
// recording without its end. Here the error is only noted, Xlib is kept
// from ending the process, and the main thread stops the game at its next
// wait, as the close button does.
//
// A connection of our own (the one that checked the display could be
// opened) looks every second, and at once after an error
// about a window, whether the game's windows still exist: at the title
// nothing is drawn for long stretches, so no drawing error would tell.
#pragma once

#include <X11/Xlib.h>

// Before the library opens its connection: errors noted from now on.
void x11_errors_install();
// Once the library has its connection: it and `watcher` (ours, kept open
// for the run) survive the loss of the server.
void x11_errors_watch(Display *watcher);
// At every wait of the main thread: throws QuitRequested (status 1, with
// the reason) once the connection is lost or the game's window is gone.
void x11_errors_check();
// Whether a connection of ours died (the library's, or the watcher); the
// library's socket is asked whether the server closed it.
bool x11_errors_connection_lost();
// After the library has shut down: our connection closes.
void x11_errors_release();
