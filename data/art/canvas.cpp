#include "data/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

void art_error(const std::string &message) {
  std::fprintf(stderr, "make_datafiles: %s\n", message.c_str());
  std::exit(1);
}

std::vector<std::string> grid_rows(const char *grid) {
  std::vector<std::string> rows;
  std::istringstream in(grid);
  std::string line;
  while (std::getline(in, line)) {
    size_t a = line.find_first_not_of(' ');
    if (a == std::string::npos) continue;
    rows.push_back(line.substr(a, line.find_last_not_of(' ') - a + 1));
  }
  return rows;
}

namespace {

const Paint *paint_of(const AnimatedGrid &s, char c) {
  for (const Paint &p : s.legend)
    if (p.symbol == c) return &p;
  return nullptr;
}

int paint_index(const Paint &p, int pulse) {
  if (!p.ramp) return p.index;
  return p.ramp->at(p.shade + p.pulse * pulse);
}

}  // namespace

Bitmap8 render_grid(const AnimatedGrid &s, int frame) {
  std::vector<std::string> rows = grid_rows(s.grid);
  int half = (s.width + 1) / 2;
  int columns = s.mirror ? half : s.width;
  Bitmap8 b(s.width, int(rows.size()));
  int phase = s.phase_of_frame[frame];
  int pulse = s.pulse_of_frame.empty() ? 0 : s.pulse_of_frame[frame];
  for (int y = 0; y < b.height; ++y) {
    if (int(rows[y].size()) != columns)
      art_error("grid row " + std::to_string(y) + " \"" + rows[y] + "\" should have " +
                std::to_string(columns) + " columns");
    for (int x = 0; x < columns; ++x) {
      char c = rows[y][x];
      if (c == '.') continue;
      const Paint *p = paint_of(s, c);
      if (!p) art_error(std::string("grid symbol '") + c + "' has no paint");
      if (p->phase >= 0 && p->phase != phase) continue;
      int index = paint_index(*p, pulse);
      b.set(x, y, index);
      if (s.mirror) b.set(s.width - 1 - x, y, index);
    }
  }
  return b;
}

void add_outline(Bitmap8 &b, int index) {
  Bitmap8 src = b;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (src.at(x, y) != TRANSPARENT) continue;
      if (src.at(x - 1, y) || src.at(x + 1, y) || src.at(x, y - 1) || src.at(x, y + 1))
        b.set(x, y, index);
    }
}

void add_full_outline(Bitmap8 &b, int index) {
  Bitmap8 src = b;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (src.at(x, y) != TRANSPARENT) continue;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
          if (src.at(x + i, y + j) != TRANSPARENT && src.at(x + i, y + j) != index) b.set(x, y, index);
    }
}

Bitmap8 mirror_x(const Bitmap8 &b) {
  Bitmap8 m(b.width, b.height);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) m.set(b.width - 1 - x, y, b.at(x, y));
  return m;
}

void stamp(Bitmap8 &dst, const Bitmap8 &src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i)
      if (src.at(i, j)) dst.set(x + i, y + j, src.at(i, j));
}

float dome_light(float nx, float ny) {
  float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
  const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
  float d = nx * lx + ny * ly + nz * lz;
  return std::clamp(0.15f + 0.85f * d, 0.0f, 1.0f);
}

void shaded_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, const Ramp &ramp, int dark,
                    int bright) {
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
      if (nx * nx + ny * ny > 1.0f) continue;
      float l = dome_light(nx, ny);
      b.set(x, y, ramp.at(dark + int(std::lround(l * (bright - dark)))));
    }
}

void fill_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, int index) {
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry;
      if (nx * nx + ny * ny <= 1.0f) b.set(x, y, index);
    }
}

void shaded_turned_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, float angle,
                           const Ramp &ramp, int dark, int bright) {
  float c = std::cos(angle), s = std::sin(angle);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      float px = x + 0.5f - cx, py = y + 0.5f - cy;
      float u = (px * c + py * s) / rx, v = (-px * s + py * c) / ry;
      if (u * u + v * v > 1.0f) continue;
      // The normal back in screen directions.
      float nx = u * c - v * s, ny = u * s + v * c;
      float l = dome_light(std::clamp(nx, -1.0f, 1.0f), std::clamp(ny, -1.0f, 1.0f));
      b.set(x, y, ramp.at(dark + int(std::lround(l * float(bright - dark)))));
    }
}

const Ramp *ramp_of(int index) {
  static const Ramp *const ramps[] = {&HULL,  &CYAN,  &GOLD,  &PURPLE, &MAGENTA,    &LIME,
                                      &CRIMSON, &BROWN, &TEAL, &FLAME, &GREY_SHADES};
  for (const Ramp *r : ramps)
    if (index >= r->first && index < r->first + r->count) return r;
  return nullptr;
}

int shade_step(int index, int step) {
  const Ramp *r = ramp_of(index);
  return r ? r->at(index - r->first + step) : index;
}

Bitmap8 scale2x(const Bitmap8 &b) {
  Bitmap8 out(b.width * 2, b.height * 2);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      int p = b.at(x, y), up = b.at(x, y - 1), down = b.at(x, y + 1), left = b.at(x - 1, y), right = b.at(x + 1, y);
      bool smooth = up != down && left != right;
      out.set(2 * x, 2 * y, smooth && left == up ? up : p);
      out.set(2 * x + 1, 2 * y, smooth && up == right ? right : p);
      out.set(2 * x, 2 * y + 1, smooth && left == down ? left : p);
      out.set(2 * x + 1, 2 * y + 1, smooth && down == right ? right : p);
    }
  return out;
}
