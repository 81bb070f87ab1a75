// Levels 4-6: the spinning spore mine (kind 3) and the crab (kind 4).
#include "data/art/enemy_art.h"

#include <algorithm>

Bitmap8 spore_mine_frame(int f, int n) {
  Bitmap8 b(16, 16);
  // Four spikes whose tips glow in turn.
  const int tips[4][2] = {{7, 0}, {15, 7}, {8, 15}, {0, 8}};
  for (int s = 0; s < 4; ++s) {
    draw_line(b, 8, 8, tips[s][0], tips[s][1], TEAL.at(2));
    b.set(tips[s][0], tips[s][1], (f + s) % 4 == 0 ? LIME.at(7) : LIME.at(4));
  }
  // A sphere with bands that roll round it.
  float spin = TWO_PI * float(f) / float(n) / 3.0f;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float nx = (x + 0.5f - 8.0f) / 5.6f, ny = (y + 0.5f - 8.0f) / 5.6f;
      float rr = nx * nx + ny * ny;
      if (rr > 1.0f) continue;
      float light = dome_light(nx, ny);
      float lon = std::asin(std::clamp(nx / std::sqrt(std::max(1e-4f, 1.0f - ny * ny)), -1.0f, 1.0f));
      bool band = std::sin(lon * 3.0f + spin * 3.0f) > 0.35f;
      const Ramp &r = band ? LIME : TEAL;
      b.set(x, y, r.at(int(std::lround(1 + light * 6))));
    }
  add_outline(b);
  return b;
}

Bitmap8 crab_frame(int f, int n) {
  Bitmap8 b(32, 32);
  float sway = cycle_sin(f, n);
  // Legs: four pairs, stepping.
  for (int pair = 0; pair < 4; ++pair) {
    int y = 7 + pair * 4;
    int lift = int(std::lround(sway * ((pair % 2) ? 1.5f : -1.5f)));
    draw_line(b, 9, y, 3, y - 3 + lift, ORANGE_SHADES.at(3));
    draw_line(b, 3, y - 3 + lift, 1, y + 1 + lift, ORANGE_SHADES.at(2));
    draw_line(b, 22, y, 28, y - 3 - lift, ORANGE_SHADES.at(3));
    draw_line(b, 28, y - 3 - lift, 30, y + 1 - lift, ORANGE_SHADES.at(2));
  }
  // Claws reaching down towards the ship, opening and closing.
  float open = 0.5f + 0.5f * cycle_cos(f, n);
  for (int side : {-1, 1}) {
    float cx = 16.0f + side * 10.5f;
    draw_line(b, int(16 + side * 6), 18, int(cx), 23, ORANGE_SHADES.at(4));
    shaded_ellipse(b, cx, 25.5f, 4.0f, 4.5f, ORANGE_SHADES, 2, 7);
    int gap = 1 + int(std::lround(open * 2));
    for (int y = 26; y < 32; ++y)
      for (int x = int(cx) - gap / 2; x <= int(cx) + (gap - 1) / 2; ++x) b.set(x, y, TRANSPARENT);
  }
  // Shell, with a ridge and darker rim.
  shaded_ellipse(b, 16.0f, 12.5f, 10.5f, 8.5f, ORANGE_SHADES, 1, 7);
  for (int x = 10; x < 22; ++x) b.set(x, 9, BROWN.at(6));
  for (int x : {11, 14, 17, 20}) b.set(x, 5, BLACK), b.set(x, 6, BLACK);
  // Eyes on stalks below the shell, glowing.
  int eye = CYAN.at(5 + int(std::lround(1.5f + 1.5f * sway)) % 3);
  for (int x : {12, 19}) {
    b.set(x, 20, BROWN.at(4));
    b.set(x, 21, eye);
    b.set(x + 1, 21, eye);
    b.set(x, 22, CYAN.at(3));
    b.set(x + 1, 22, CYAN.at(3));
  }
  add_outline(b);
  return b;
}
