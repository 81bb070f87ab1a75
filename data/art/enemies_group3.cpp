// Levels 7-9: the jellyfish (kind 5) and the moth (kind 6).
#include "data/art/enemy_art.h"

Bitmap8 jelly_frame(int f, int n) {
  Bitmap8 b(16, 16);
  // Tentacles that wave below the bell.
  for (int t = 0; t < 4; ++t) {
    float base = 3.5f + t * 3.0f;
    for (int y = 8; y < 16; ++y) {
      float x = base + 1.3f * std::sin(0.9f * y + TWO_PI * f / n + t * 1.7f) * (y - 7) / 8.0f;
      b.set(int(std::lround(x)), y, PURPLE.at(6 - (y - 8) / 2));
    }
  }
  // The bell, its rim and a pulsing core.
  float breathe = 0.5f + 0.5f * cycle_sin(f, n);
  shaded_ellipse(b, 8.0f, 6.5f, 7.0f + 0.5f * breathe, 6.0f, MAGENTA, 1, 7);
  for (int y = 9; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (y > 9 && b.at(x, y) >= MAGENTA.first && b.at(x, y) < MAGENTA.first + MAGENTA.count)
        b.set(x, y, TRANSPARENT);
  for (int x = 2; x < 14; ++x)
    if (b.at(x, 9)) b.set(x, 9, MAGENTA.at(3));
  fill_ellipse(b, 8.0f, 5.5f, 1.5f + breathe, 1.5f + breathe * 0.8f, GOLD.at(5 + int(breathe * 2)));
  b.set(8, 5, GOLD.at(7));
  add_outline(b);
  return b;
}

Bitmap8 moth_frame(int f, int n) {
  Bitmap8 b(22, 18);
  // Wings seen from above: they fold in and out as they beat.
  float spread = 0.55f + 0.45f * cycle_cos(f, n);
  for (int side : {-1, 1}) {
    float rx = 5.2f * spread + 0.4f;
    float cx = 11.0f + side * (rx * 0.95f + 0.6f);
    // Dusty gold wings, unlike the pink jellyfish beside it.
    shaded_ellipse(b, cx, 6.5f, rx, 5.5f, GOLD, 1, 6);
    shaded_ellipse(b, 11.0f + side * (rx * 0.7f + 0.5f), 12.5f, rx * 0.75f + 0.3f, 3.5f, BROWN, 2, 6);
    // Eye spots on the forewings.
    if (spread > 0.3f) {
      int ex = int(std::lround(cx + side * rx * 0.3f));
      b.set(ex, 6, CYAN.at(7));
      b.set(ex, 5, CYAN.at(4));
      b.set(ex, 7, CYAN.at(4));
    }
  }
  // Body and antennae.
  shaded_ellipse(b, 11.0f, 9.0f, 2.0f, 7.0f, BROWN, 2, 7);
  for (int y = 5; y < 14; y += 3) b.set(10, y, BROWN.at(1)), b.set(11, y, BROWN.at(1));
  draw_line(b, 10, 16, 8, 17, BROWN.at(5));
  draw_line(b, 11, 16, 13, 17, BROWN.at(5));
  add_outline(b);
  return b;
}
