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

// Heavy: the plain shape thickened one pixel to the right, or drawn anew.
bool heavy_ink(int k, int x, int y) {
  if (const char *shape = heavy_glyph_shape(order[k])) {
    static std::vector<std::vector<std::string>> rows(40);
    if (rows[k].empty()) rows[k] = grid_rows(shape);
    if (rows[k].size() != GLYPH_SHAPE_H || rows[k][0].size() != HEAVY_SHAPE_W)
      art_error("heavy glyph " + std::to_string(k) + " is not 9 x 10");
    return x >= 0 && y >= 0 && x < HEAVY_SHAPE_W && y < GLYPH_SHAPE_H && rows[k][y][x] == '#';
  }
  return shape_ink(k, x, y) || shape_ink(k, x - 1, y);
}

// Colours a mask of ink (1) in the style.
void colour_text(Bitmap8 &b, const Bitmap8 &mask, int top_row, int bottom_row, const TextStyle &s) {
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (!mask.at(x, y)) continue;
      float t = bottom_row > top_row ? float(y - top_row) / float(bottom_row - top_row) : 0.0f;
      int shade = s.top + int(std::lround(t * (s.bottom - s.top)));
      // Bevelled: edges facing the light (up and left) catch it, edges
      // facing away fall into shadow.
      if (!mask.at(x - 1, y) || !mask.at(x, y - 1)) shade += s.lit;
      if (!mask.at(x + 1, y) || !mask.at(x, y + 1)) shade -= s.shadow;
      b.set(x, y, s.ramp->at(shade));
    }
}

}  // namespace

int glyph_of(char c) {
  if (c == '\0') return -1;
  const char *at = std::strchr(order, c);
  return at ? int(at - order) : -1;
}

Bitmap8 render_glyph(int k, const TextStyle &style) {
  Bitmap8 mask(HEAVY_SHAPE_W + 2, GLYPH_SHAPE_H + 2);
  for (int y = 0; y < GLYPH_SHAPE_H; ++y)
    for (int x = 0; x < HEAVY_SHAPE_W; ++x)
      if (heavy_ink(k, x, y)) mask.set(x + 1, y + 1, 1);
  Bitmap8 b(mask.width, mask.height);
  colour_text(b, mask, 1, GLYPH_SHAPE_H, style);
  add_full_outline(b, style.outline);
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
  add_outline(b, style.outline);
  return b;
}
