// Levels 4-6: the spinning spore mine (kind 3) and the crab (kind 4).
#include "data/art/enemy_art.h"

#include <algorithm>

Bitmap8 spore_mine_frame(int f, int n) {
  Bitmap8 b(16, 16);
  float phase = float(f) / float(n);
  // Eight spikes turning one eighth of a turn over the cycle, so the last
  // frame leads into the first; their tips pulse together.
  int tip = LIME.at(int(std::lround(6.0f + cycle_cos(f, n))));
  for (int s = 0; s < 8; ++s) {
    float a = TWO_PI * (float(s) + phase) / 8.0f;
    float ca = std::cos(a), sa = std::sin(a);
    int x0 = int(std::floor(8.0f + ca * 4.5f)), y0 = int(std::floor(8.0f + sa * 4.5f));
    int x1 = int(std::floor(8.0f + ca * 7.4f)), y1 = int(std::floor(8.0f + sa * 7.4f));
    draw_line(b, x0, y0, x1, y1, TEAL.at(ca + sa < 0 ? 5 : 3));
    b.set(x1, y1, tip);
  }
  // A sphere whose glowing pores roll round it: four of them, high and low
  // in turn, half a turn per cycle (so each pore ends where the next of
  // its height began).
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      float nx = (x + 0.5f - 8.0f) / 5.4f, ny = (y + 0.5f - 8.0f) / 5.4f;
      if (nx * nx + ny * ny > 1.0f) continue;
      float nz = std::sqrt(1.0f - nx * nx - ny * ny);
      float light = dome_light(nx, ny);
      int colour = TEAL.at(int(std::lround(1 + light * 6)));
      for (int p = 0; p < 4; ++p) {
        float lon = TWO_PI * (float(p) + 2.0f * phase) / 4.0f, lat = (p % 2 ? 0.45f : -0.35f);
        float px = std::sin(lon) * std::cos(lat), py = std::sin(lat), pz = std::cos(lon) * std::cos(lat);
        float d = (nx - px) * (nx - px) + (ny - py) * (ny - py) + (nz - pz) * (nz - pz);
        if (pz > 0.0f && d < 0.16f) colour = LIME.at(d < 0.05f ? 7 : 5);
      }
      b.set(x, y, colour);
    }
  add_outline(b);
  return b;
}

namespace {

// One walking leg of the crab: out from under the shell to a raised knee,
// then down to a point; `lift` raises the knee.
void crab_leg(Bitmap8 &b, int x, int y, int side, int lift) {
  int kx = x + side * 4, ky = y - 2 - lift;
  draw_line(b, x, y, kx, ky, FLAME.at(3));
  draw_line(b, kx, ky, kx + side * 2, ky + 4, FLAME.at(2));
}

// A claw held out in front: a round palm and two curved fingers whose tips
// meet when shut, leaving a gap between them, and part by `open` pixels.
void crab_claw(Bitmap8 &b, float cx, float cy, int open) {
  for (int side : {-1, 1}) {
    float x0 = cx + side * 2.4f, x1 = cx + side * (3.6f + 0.3f * open), x2 = cx + side * (0.5f + 0.9f * open);
    for (float t = 0; t <= 1.0f; t += 0.1f) {
      float u = 1.0f - t;
      float x = u * u * x0 + 2 * u * t * x1 + t * t * x2, y = cy + 1.5f + 7.0f * t;
      int shade = side < 0 ? 5 : 3;
      b.set(int(std::floor(x)), int(y), FLAME.at(shade));
      if (t < 0.8f) b.set(int(std::floor(x)) - side, int(y), FLAME.at(shade - 1));
    }
  }
  shaded_ellipse(b, cx, cy, 4.0f, 3.5f, FLAME, 1, 5);
}

}  // namespace

Bitmap8 crab_frame(int f, int n) {
  Bitmap8 b(32, 32);
  float step = cycle_sin(f, n);
  // Three legs a side, alternate ones raised.
  for (int leg = 0; leg < 3; ++leg) {
    int lift = int(std::lround(step * (leg % 2 ? 1.4f : -1.4f)));
    int y = 7 + leg * 4;
    crab_leg(b, 7, y, -1, lift);
    crab_leg(b, 24, y, 1, -lift);
  }
  // Arms and claws reaching down at the ship, snapping open and shut.
  int open = int(std::lround(1.0f + cycle_cos(f, n)));
  for (int side : {-1, 1}) {
    draw_line(b, 16 + side * 5, 16, 16 + side * 10, 21, FLAME.at(3));
    draw_line(b, 16 + side * 6, 16, 16 + side * 11, 21, FLAME.at(2));
    crab_claw(b, 16.0f + side * 10.5f, 21.5f, open);
  }
  // The shell: a wide lit dome with a darker front rim and bumps.
  shaded_ellipse(b, 16.0f, 11.0f, 10.5f, 7.5f, FLAME, 0, 5);
  for (int x = 6; x < 26; ++x)
    if (b.at(x, 17)) b.set(x, 17, FLAME.at(1));
  for (auto [x, y] : {std::pair{10, 8}, {14, 6}, {18, 6}, {22, 8}, {12, 12}, {20, 12}}) {
    b.set(x, y, FLAME.at(6));
    b.set(x + 1, y + 1, FLAME.at(1));
  }
  // Eyes on stalks at the front of the shell, and the mouth between them.
  for (int x : {11, 19}) {
    b.set(x, 17, FLAME.at(3)), b.set(x + 1, 17, FLAME.at(2));
    for (int dy = 18; dy < 20; ++dy) b.set(x, dy, BLACK), b.set(x + 1, dy, BLACK);
    b.set(x, 18, GREY_SHADES.at(f % 3 == 0 ? 7 : 6));
  }
  for (int x = 14; x < 18; ++x) b.set(x, 18, BROWN.at(1 + (x + f) % 2));
  add_outline(b);
  return b;
}
