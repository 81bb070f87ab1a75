// The frame of play drawn the straightforward way, as the baseline of the
// benchmarks and the yardstick of the pixel-identity test: the same steps
// in the same order as draw_frame, with every pixel read and written through
// the library's generic getpixel and putpixel, and the glow blended through
// color_map one pixel at a time. Only the scaled life icons and the turned
// capsules use the library's stretch_sprite and rotate_sprite, whose
// sampling is theirs alone.
#pragma once

#include <allegro.h>

// Draws the frame into back_buffer and glow_layer and presents it.
void reference_draw_frame();

// The building blocks, for tests of each against the library's own call.
void reference_circlefill(BITMAP *b, int x, int y, int radius, int colour);
void reference_soft_dot(BITMAP *b, int x, int y, int colour);
