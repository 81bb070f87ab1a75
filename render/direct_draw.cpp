#include "render/direct_draw.h"

#include <algorithm>
#include <cstring>

namespace {

// Row y from x1 to x2, cut to the clip rectangle.
inline void fill_span(BITMAP *b, const ClipBox &c, int y, int x1, int x2, int colour) {
  if (y < c.top || y >= c.bottom) return;
  x1 = std::max(x1, c.left);
  x2 = std::min(x2, c.right - 1);
  if (x1 <= x2) std::memset(b->line[y] + x1, colour, x2 - x1 + 1);
}

// The whole of the layer over the whole of the bitmap, nothing clipped.
bool blends_whole(const BITMAP *dst, const BITMAP *layer) {
  ClipBox c = clip_box(dst);
  return color_map && direct_access(dst) && direct_access(layer) && layer->w == dst->w &&
         layer->h == dst->h && c.left == 0 && c.top == 0 && c.right == dst->w &&
         c.bottom == dst->h;
}

void blend_row(uint8_t *d, const uint8_t *s, int w) {
  const auto &map = color_map->data;
  int x = 0;
  // Most of a glow layer is index 0: skip it eight pixels at a time.
  for (; x + 8 <= w; x += 8) {
    uint64_t eight;
    std::memcpy(&eight, s + x, 8);
    if (eight == 0) continue;
    for (int k = x; k < x + 8; ++k)
      if (s[k]) d[k] = map[s[k]][d[k]];
  }
  for (; x < w; ++x)
    if (s[x]) d[x] = map[s[x]][d[x]];
}

}  // namespace

void fill_circle(BITMAP *b, int x, int y, int radius, int colour) {
  if (!direct_access(b) || radius < 0) {
    circlefill(b, x, y, radius, colour);
    return;
  }
  ClipBox c = clip_box(b);
  if (x + radius < c.left || x - radius >= c.right || y + radius < c.top ||
      y - radius >= c.bottom)
    return;
  for_each_circle_span(radius,
                       [&](int dy, int w) { fill_span(b, c, y + dy, x - w, x + w, colour); });
}

void blend_layer(BITMAP *dst, BITMAP *layer) {
  if (!blends_whole(dst, layer)) {
    draw_trans_sprite(dst, layer, 0, 0);
    return;
  }
  for (int y = 0; y < dst->h; ++y) blend_row(dst->line[y], layer->line[y], dst->w);
}
