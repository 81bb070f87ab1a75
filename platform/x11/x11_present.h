// The window's picture put on the screen by the X server at a refresh,
// through the Present extension: the presenter writes the scaled picture
// into one of a few pixmaps (in shared memory where MIT-SHM takes a memory
// file from us, else sent as images), and each is presented at the refresh
// the pacer aims at (or at once). The server reports back when each went on
// the screen, the refresh counter (MSC) and its time (UST), and the pacer
// learns the display's beat from that.
//
// Everything here runs on the main thread, on the library's own connection
// (its events and ours arrive on one socket: ours go to a queue of their
// own, never to the library's input handler).
#pragma once

#include "platform/display/frame_pacer.h"

#include <X11/Xlib.h>

struct PictureBuffer;

// On the library's connection and drawing window, for a window of
// width x height; the picture's pixmaps are picture_w x picture_h. False
// when the server lacks Present or the window is not of 32-bit true colour
// pixels: the library's own drawing stays then. The pacer is told of every
// frame sent and every refresh reported.
bool x11_present_open(Display *display, Window window, int picture_w, int picture_h, FramePacer *pacer);
// Before the window goes: nothing more is presented on it.
void x11_present_close();

// The window's pixel format (valid while open).
unsigned long x11_present_mask(int channel);  // 0 red, 1 green, 2 blue

// A buffer that the server is done with, or nullptr while all are in use.
PictureBuffer *x11_present_free_buffer();
// Rows first_row..last_row (of the scaled picture) changed in the buffer:
// presented with its top-left corner at (x, y) of the window, at the
// pacer's target refresh or at once.
void x11_present_send(PictureBuffer *buffer, int x, int y, int first_row, int last_row);
// Asks the server for a notice (Present's MSC notify) of refresh `msc` (0: of the current one).
void x11_present_ask_notify(long long msc);

// Reads what the server sent: the pacer learns of frames shown and
// refreshes reported, buffers come free.
void x11_present_read_events(long long now);
