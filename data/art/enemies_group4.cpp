// Levels 10-12: the spinning blade (kind 7) and the mothership (kind 8).
#include "data/art/enemy_art.h"

#include <algorithm>

Bitmap8 blade_frame(int f, int n) {
  Bitmap8 b(24, 24);
  // Four curved blades turning a quarter turn over the cycle.
  float turn = TWO_PI / 4.0f * float(f) / float(n);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      float dx = x + 0.5f - 12.0f, dy = y + 0.5f - 12.0f;
      float r = std::sqrt(dx * dx + dy * dy);
      if (r > 11.8f) continue;
      float a = std::atan2(dy, dx) - turn - r * 0.09f;
      float blade = std::cos(4.0f * a);
      float width = 1.0f - r / 12.5f;
      if (blade > 1.0f - width * 0.9f || r < 5.0f) {
        float edge = std::sin(4.0f * a);
        int shade = 2 + int(std::lround((edge * 0.5f + 0.5f) * 4.0f + (r > 9.0f ? 1 : 0)));
        b.set(x, y, STEEL.at(shade));
      }
    }
  // The glowing core.
  float glow = 0.5f + 0.5f * cycle_sin(f, n);
  shaded_ellipse(b, 12.0f, 12.0f, 3.8f, 3.8f, CRIMSON, 2, 5 + int(std::lround(glow * 2)));
  b.set(11, 11, CRIMSON.at(7));
  add_outline(b);
  return b;
}

Bitmap8 mothership_frame(int f, int n) {
  Bitmap8 b(72, 48);
  // Engine pods with flames below.
  for (float cx : {15.0f, 57.0f}) {
    shaded_ellipse(b, cx, 33.0f, 7.0f, 8.0f, PURPLE, 1, 6);
    int flame = 3 + (f % 2) * 2;
    for (int y = 40; y < 40 + flame; ++y)
      for (int x = int(cx) - 2; x <= int(cx) + 1; ++x) b.set(x, y, FLAME.at(7 - (y - 40)));
  }
  // Lower hull, main saucer, glass dome.
  shaded_ellipse(b, 36.0f, 28.0f, 25.0f, 9.0f, STEEL, 0, 4);
  shaded_ellipse(b, 36.0f, 21.0f, 35.5f, 10.5f, STEEL, 1, 7);
  shaded_ellipse(b, 36.0f, 13.0f, 12.0f, 10.0f, CYAN, 1, 7);
  for (int x = 25; x < 48; ++x)
    if (b.at(x, 21)) b.set(x, 21, STEEL.at(2));  // dome seam
  // Panel lines.
  for (int x : {8, 18, 54, 64})
    for (int y = 17; y < 28; ++y)
      if (b.at(x, y)) b.set(x, y, STEEL.at(2));
  // Rim lights chasing round.
  for (int i = 0; i < 12; ++i) {
    int x = 4 + i * 6;
    int light = (i % n) == f ? GOLD.at(7) : GOLD.at(3);
    for (int dx = 0; dx < 2; ++dx)
      if (b.at(x + dx, 25)) b.set(x + dx, 25, light);
  }
  // The cannon in the middle.
  for (int y = 34; y < 42; ++y) b.set(35, y, STEEL.at(5)), b.set(36, y, STEEL.at(3));
  b.set(35, 42, CRIMSON.at(6 + f % 2)), b.set(36, 42, CRIMSON.at(6 + f % 2));
  add_outline(b);
  return b;
}
