// The picture on show: the 320 x 240 frame last presented (the logical
// screen), and how it reaches a display of any size and depth: every pixel
// an s x s block at the largest whole scale s that fits, centred on black,
// and only the rows (and within them the columns) that changed since the
// last present. Shared by the real platform and its headless twin.
//
// The real platform may show the picture through buffers of the display's
// own instead (the X Present extension, platform/x11/x11_present.h): then
// the scaled picture is written into a buffer the display is done with,
// only the rows it lacks, and the whole buffer is handed over.
#pragma once

#include "platform/display/monitors.h"
#include "platform/platform.h"

#include <allegro.h>

#include <cstdint>

// The logical screen; created on first use, black. Null only when there
// was no memory for it: a display cannot be opened then.
BITMAP *presenter_picture();
void presenter_release();

// A display was opened (or reopened): place the picture in the area of it
// that is seen, black around, and write all of it. Targets of 8 bits show
// palette indices (the library maps them); deeper ones get colours from the
// palette given here.
void presenter_attach(BITMAP *target, const RGB *palette, const ScreenRect &area);
// The window got another size: the picture placed afresh in the area now
// seen, and written again.
void presenter_fit(const ScreenRect &area);

// One of a display's buffers of the scaled picture, 32-bit pixels in rows
// `pitch` bytes apart, and the picture it holds.
struct PictureBuffer {
  uint8_t *pixels = nullptr;
  long pitch = 0;
  uint8_t held[PICTURE_HEIGHT][PICTURE_WIDTH] = {};
  long colours = -1;  // the colours it was written in; -1: none yet
};

// A display that shows whole pictures from buffers of its own: a window of
// width x height, 32-bit pixels in these channel masks (red, green, blue).
struct BufferedDisplay {
  int width, height;
  unsigned long masks[3];
  PictureBuffer *(*free_buffer)();  // nullptr while every buffer is in use
  // Shows the buffer with its top-left corner at (x, y) of the window; rows
  // first_row..last_row of it were written.
  void (*send)(PictureBuffer *buffer, int x, int y, int first_row, int last_row);
};
// Like presenter_attach, onto such a display, the picture in the area of
// its window that is seen; every buffer written afresh. (A window of
// another size is attached again: the buffers hold one scale.)
void presenter_attach_buffers(const BufferedDisplay &display, const RGB *palette, const ScreenRect &area);
// The picture sent again (the window was exposed), or a picture held back
// for want of a free buffer sent now.
void presenter_repaint();
void presenter_send_held_back();
// The display is about to go away (a mode switch).
void presenter_detach();

// Takes the frame as the picture and writes what changed.
void presenter_show(BITMAP *frame);
// Black picture, written at once.
void presenter_clear();
// New colours: on a deeper target the whole picture is written again.
void presenter_set_palette(const RGB *palette);

// Marks drawn over the picture on the display only (the replay viewer's):
// `draw` paints them onto a copy of the picture at every write from now
// on, so the logical screen never holds them. Null: none.
void presenter_set_overlay(void (*draw)(BITMAP *onto));
// While held, the picture, the palette and the overlay change without a
// write to the display; let go, the display catches up at once.
void presenter_hold(bool held);
// Writes what differs between the display and the picture with its overlay.
void presenter_refresh();

// Logical rows written to the display since the target was attached.
long presenter_rows_written();
