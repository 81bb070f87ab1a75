#include "data/art/glyphs.h"

#include "data/art/canvas.h"

#include <cmath>
#include <cstring>

namespace {

const char order[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/%:.";

bool shape_ink(int k, int x, int y) {
  static std::vector<std::vector<std::string>> rows;
  if (rows.empty())
    for (int i = 0; i < 40; ++i) {
      rows.push_back(grid_rows(glyph_shape(i)));
      if (rows.back().size() != GLYPH_SHAPE_H) art_error("glyph " + std::to_string(i) + " is not 10 rows");
      for (const std::string &r : rows.back())
        if (r.size() != GLYPH_SHAPE_W) art_error("glyph " + std::to_string(i) + " is not 8 wide");
    }
  if (x < 0 || y < 0 || x >= GLYPH_SHAPE_W || y >= GLYPH_SHAPE_H) return false;
  return rows[k][y][x] == '#';
}

// Colours a mask of ink (1) in the style, with an outline.
void colour_text(Bitmap8 &b, const Bitmap8 &mask, int top_row, int bottom_row, const TextStyle &s) {
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (!mask.at(x, y)) continue;
      float t = bottom_row > top_row ? float(y - top_row) / float(bottom_row - top_row) : 0.0f;
      int shade = s.top + int(std::lround(t * (s.bottom - s.top)));
      // Bevelled: edges facing the light (up and left) catch it, edges
      // facing away fall into shadow.
      if (!mask.at(x - 1, y) || !mask.at(x, y - 1)) shade += 2;
      if (!mask.at(x + 1, y) || !mask.at(x, y + 1)) shade -= 2;
      b.set(x, y, s.ramp->at(shade));
    }
  add_outline(b, s.outline);
}

}  // namespace

int glyph_of(char c) {
  if (c == '\0') return -1;
  const char *at = std::strchr(order, c);
  return at ? int(at - order) : -1;
}

Bitmap8 render_glyph(int k, const TextStyle &style) {
  Bitmap8 mask(GLYPH_SHAPE_W + 2, GLYPH_SHAPE_H + 2);
  for (int y = 0; y < GLYPH_SHAPE_H; ++y)
    for (int x = 0; x < GLYPH_SHAPE_W; ++x)
      if (shape_ink(k, x, y)) mask.set(x + 1, y + 1, 1);
  Bitmap8 b(mask.width, mask.height);
  colour_text(b, mask, 1, GLYPH_SHAPE_H, style);
  return b;
}

std::vector<Bitmap8> glyph_set(const TextStyle &style) {
  std::vector<Bitmap8> set;
  for (int k = 0; k < 40; ++k) set.push_back(render_glyph(k, style));
  return set;
}

Bitmap8 render_text(const std::string &text, float sx, int sy, float pitch, const TextStyle &style) {
  int n = int(text.size());
  int glyph_w = int(std::lround(GLYPH_SHAPE_W * sx));
  int w = (n > 0 ? int(std::lround((n - 1) * pitch)) + glyph_w : 0) + 2;
  int h = GLYPH_SHAPE_H * sy + 2;
  Bitmap8 mask(w, h);
  for (int i = 0; i < n; ++i) {
    int k = glyph_of(text[i]);
    if (k < 0) continue;
    int left = 1 + int(std::lround(i * pitch));
    for (int y = 0; y < GLYPH_SHAPE_H * sy; ++y)
      for (int x = 0; x < glyph_w; ++x)
        if (shape_ink(k, int(float(x) / sx), y / sy)) mask.set(left + x, 1 + y, 1);
  }
  Bitmap8 b(w, h);
  colour_text(b, mask, 1, h - 2, style);
  return b;
}
