// Levels 10-12: the spinning blade (kind 7) and the mothership (kind 8).
#include "data/art/enemy_art.h"
#include "data/art/noise.h"

#include <algorithm>

Bitmap8 blade_frame(int f, int n) {
  Bitmap8 b(24, 24);
  // Three curved brass blades turning a third of a turn over the cycle (so
  // the last frame leads into the first). Each blade is a ridge: the side
  // that faces the upper left catches the light.
  constexpr int BLADES = 3;
  float turn = TWO_PI / float(BLADES) * float(f) / float(n);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      float dx = x + 0.5f - 12.0f, dy = y + 0.5f - 12.0f;
      float r = std::sqrt(dx * dx + dy * dy);
      if (r > 11.6f || r < 3.0f) continue;
      float theta = std::atan2(dy, dx);
      float half_width = 3.6f * (1.0f - r / 12.5f) + 0.6f;
      for (int k = 0; k < BLADES; ++k) {
        float centre = turn + TWO_PI * float(k) / float(BLADES) + r * 0.1f;
        float delta = std::remainder(theta - centre, TWO_PI) * r;
        if (std::fabs(delta) >= half_width) continue;
        float side = delta / half_width * 0.8f;
        float nx = -std::sin(theta) * side, ny = std::cos(theta) * side;
        int shade = 1 + int(std::lround(dome_light(nx, ny) * 6.0f));
        b.set(x, y, GOLD.at(r > 9.5f ? shade + 1 : shade));
      }
    }
  // The hub and its glowing core, pulsing round the cycle.
  shaded_ellipse(b, 12.0f, 12.0f, 4.4f, 4.4f, GREY_SHADES, 1, 5);
  float glow = 0.5f + 0.5f * cycle_cos(f, n);
  shaded_ellipse(b, 12.0f, 12.0f, 2.8f, 2.8f, CRIMSON, 3, 5 + int(std::lround(glow * 2)));
  b.set(11, 11, CRIMSON.at(7));
  add_outline(b);
  return b;
}

namespace {

// The pilot seen through the glass dome: a dark head with two red eyes
// that blink. The dome's highlights stay in front of it.
void pilot(Bitmap8 &b, int f) {
  Bitmap8 head(72, 48);
  shaded_ellipse(head, 36.0f, 13.5f, 5.0f, 5.5f, PURPLE, 1, 4);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 72; ++x)
      if (head.at(x, y) && b.at(x, y) < LIME.at(7)) b.set(x, y, head.at(x, y));
  int eye = f == 3 ? PURPLE.at(1) : CRIMSON.at(7);
  for (int x : {33, 38}) b.set(x, 14, eye), b.set(x + 1, 14, CRIMSON.at(5)), b.set(x, 15, CRIMSON.at(3)), b.set(x + 1, 15, CRIMSON.at(3));
}

}  // namespace

Bitmap8 mothership_frame(int f, int n) {
  Bitmap8 b(72, 48);
  // Engine pods with flames below.
  for (float cx : {15.0f, 57.0f}) {
    shaded_ellipse(b, cx, 33.0f, 7.0f, 8.0f, PURPLE, 1, 6);
    int flame = 3 + (f % 2) * 2;
    for (int y = 40; y < 40 + flame; ++y)
      for (int x = int(cx) - 2; x <= int(cx) + 1; ++x) b.set(x, y, FLAME.at(7 - (y - 40)));
  }
  // Lower hull, main saucer, glass dome with its pilot.
  shaded_ellipse(b, 36.0f, 28.0f, 25.0f, 9.0f, GREY_SHADES, 0, 4);
  shaded_ellipse(b, 36.0f, 21.0f, 35.5f, 10.5f, GREY_SHADES, 1, 7);
  shaded_ellipse(b, 36.0f, 13.0f, 12.0f, 10.0f, LIME, 1, 7);
  pilot(b, f);
  for (int x = 25; x < 48; ++x)
    if (b.at(x, 21)) b.set(x, 21, GREY_SHADES.at(2));  // dome seam
  // Panel lines, and the shadow under the rim.
  for (int x : {8, 18, 54, 64})
    for (int y = 17; y < 28; ++y)
      if (b.at(x, y)) b.set(x, y, GREY_SHADES.at(2));
  for (int x = 0; x < 72; ++x)
    if (b.at(x, 28) >= GREY_SHADES.at(2)) b.set(x, 28, GREY_SHADES.at(1));
  // Rim lights chasing round.
  for (int i = 0; i < 12; ++i) {
    int x = 4 + i * 6;
    int light = (i % n) == f ? GOLD.at(7) : GOLD.at(3);
    for (int dx = 0; dx < 2; ++dx)
      if (b.at(x + dx, 25)) b.set(x + dx, 25, light);
  }
  // The cannon in the middle, its muzzle charging up over the cycle.
  for (int y = 34; y < 42; ++y) b.set(35, y, GREY_SHADES.at(5)), b.set(36, y, GREY_SHADES.at(3));
  int charge = CRIMSON.at(4 + f * 3 / (n - 1));
  b.set(35, 42, charge), b.set(36, 42, charge), b.set(35, 43, CRIMSON.at(3)), b.set(36, 43, CRIMSON.at(2));
  add_outline(b);
  return b;
}

Bitmap8 mothership_wreck() {
  // The last frame has the pilot's eyes shut. Scorched a shade darker, the
  // engines out, holes blown through the hull with embers at their rims,
  // and cracks across the dome.
  Bitmap8 b = mothership_frame(3, 4);
  struct Hole {
    float x, y, r;
  };
  const Hole holes[4] = {{14, 20, 5.5f}, {50, 27, 4.5f}, {60, 16, 4.0f}, {27, 31, 3.5f}};
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      int v = b.at(x, y);
      if (ramp_of(v) == &FLAME || v == BLACK) {
        b.set(x, y, TRANSPARENT);
        continue;
      }
      b.set(x, y, shade_step(v, -1));
      for (const Hole &h : holes) {
        float d = std::hypot(x + 0.5f - h.x, y + 0.5f - h.y);
        if (d < h.r) b.set(x, y, TRANSPARENT);
        else if (d < h.r + 1.5f && b.at(x, y)) {
          // Scorched rims with embers here and there.
          float heat = fractal_noise(x * 0.6f, y * 0.6f, 2, 5);
          b.set(x, y, heat > 0.62f ? FLAME.at(5) : heat > 0.5f ? CRIMSON.at(3) : BROWN.at(0));
        }
      }
    }
  draw_line(b, 30, 6, 36, 13, BLACK);
  draw_line(b, 36, 13, 44, 10, BLACK);
  draw_line(b, 36, 13, 35, 20, BLACK);
  draw_line(b, 4, 22, 20, 26, BLACK);
  add_outline(b);
  return b;
}
