// The picture on show: the 320 x 240 frame last presented (the logical
// screen), and how it reaches a display of any size and depth: every pixel
// an s x s block at the largest whole scale s that fits, centred on black,
// and only the rows (and within them the columns) that changed since the
// last present. Shared by the real platform and its headless twin.
#pragma once

#include "platform/monitors.h"

#include <allegro.h>

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

// Placement of the picture on the current target.
int presenter_scale();
int presenter_x();
int presenter_y();

// Logical rows written to the display since the target was attached.
long presenter_rows_written();
