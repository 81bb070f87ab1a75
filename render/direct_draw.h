// Drawing straight into the lines of 8-bit memory bitmaps for the hot paths
// of the frame: the same pixels as the library's circlefill and
// draw_trans_sprite, with each shape clipped once against the bitmap's clip
// rectangle instead of every pixel or span going through the vtable.
#pragma once

#include <allegro.h>

#include <cstdint>

// The rows of a filled circle of radius >= 0 as the library's midpoint walk
// makes them: span(dy, w) for the row y + dy from x - w to x + w. Every row
// of the circle comes exactly once.
template <typename Span>
void for_each_circle_span(int radius, Span span) {
  int cx = 0, cy = radius;
  int df = 1 - radius, d_e = 3, d_se = 5 - 2 * radius;
  do {
    span(-cx, cy);
    if (cx) span(cx, cy);
    if (df < 0) {
      df += d_e;
      d_e += 2;
      d_se += 2;
    } else {
      if (cx != cy) {
        span(-cy, cx);
        if (cy) span(cy, cx);
      }
      df += d_se;
      d_e += 2;
      d_se += 4;
      --cy;
    }
    ++cx;
  } while (cx <= cy);
}

// The clip rectangle of a bitmap, right and bottom exclusive.
struct ClipBox {
  int left, top, right, bottom;
};
inline ClipBox clip_box(const BITMAP *b) {
  if (!b->clip) return {0, 0, b->w, b->h};
  return {b->cl, b->ct, b->cr, b->cb};
}

// Whether the lines of the bitmap can be written directly: an 8-bit memory
// bitmap. Anything else goes through the library.
inline bool direct_access(const BITMAP *b) {
  return is_memory_bitmap(const_cast<BITMAP *>(b)) && bitmap_color_depth(const_cast<BITMAP *>(b)) == 8;
}

// circlefill for radius >= 0.
void fill_circle(BITMAP *b, int x, int y, int radius, int colour);
// draw_trans_sprite(dst, layer, 0, 0) through color_map, index 0 clear.
void blend_layer(BITMAP *dst, BITMAP *layer);
