// Enemy shots of the four groups, and the shield rocks.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/noise.h"

#include "world/enemy_kinds.h"

#include <algorithm>
#include <cmath>

namespace {

struct ShotLook {
  const Ramp *outer, *inner;
};
// Red fire drops, green spores, magenta sparks, orange plasma.
const ShotLook shot_looks[4] = {{&CRIMSON, &FLAME}, {&LIME, &LIME}, {&MAGENTA, &PURPLE}, {&FLAME, &GOLD}};

}  // namespace

std::vector<Bitmap8> enemy_shot_frames(int group) {
  const ShotSize size = enemy_shot_sizes[group];
  const ShotLook &look = shot_looks[group];
  std::vector<Bitmap8> frames;
  for (int f = 0; f < 2; ++f) {
    Bitmap8 b(size.width, size.height);
    float cx = size.width / 2.0f, cy = size.height / 2.0f;
    // A bright core in a darker shell; the core flickers between frames.
    fill_ellipse(b, cx, cy, cx, cy, look.outer->at(3 + f));
    fill_ellipse(b, cx, cy + (f ? -0.5f : 0.5f), cx * 0.6f, cy * 0.6f, look.inner->at(6 + f));
    if (size.width >= 6) b.set(int(cx) - 1 + f, int(cy) - 1, GREY_SHADES.at(7));
    frames.push_back(b);
  }
  return frames;
}

std::vector<Bitmap8> shield_rock_frames() {
  // Bites knocked out of the rock, one more per hit, and cracks.
  struct Bite {
    float x, y, r;
  };
  const Bite bites[4] = {{3, 3, 4.0f}, {25, 13, 4.5f}, {16, 1, 4.0f}, {7, 14, 4.5f}};
  const int cracks[4][4] = {{10, 2, 14, 9}, {20, 4, 17, 12}, {14, 9, 8, 12}, {24, 6, 28, 9}};
  std::vector<Bitmap8> frames;
  for (int damage = 0; damage < 5; ++damage) {
    Bitmap8 b(30, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 30; ++x) {
        float nx = (x + 0.5f - 15.0f) / 14.8f, ny = (y + 0.5f - 8.5f) / 7.6f;
        float bump = fractal_noise(x * 0.35f, y * 0.35f, 3, 77) - 0.5f;
        if (nx * nx + ny * ny + bump * 0.5f > 1.0f) continue;
        bool bitten = false;
        for (int k = 0; k < damage; ++k) {
          float dx = x - bites[k].x, dy = y - bites[k].y;
          bitten = bitten || dx * dx + dy * dy < bites[k].r * bites[k].r;
        }
        if (bitten) continue;
        float grain = fractal_noise(x * 0.6f, y * 0.6f, 2, 91);
        float light = dome_light(std::clamp(nx, -1.0f, 1.0f), std::clamp(ny, -1.0f, 1.0f));
        b.set(x, y, BROWN.at(int(std::lround(light * 6.0f + grain * 2.0f - 0.5f))));
      }
    for (int k = 0; k < damage; ++k) {
      int x0 = cracks[k][0], y0 = cracks[k][1], x1 = cracks[k][2], y1 = cracks[k][3];
      for (int s = 0; s <= 8; ++s) {
        int x = x0 + (x1 - x0) * s / 8, y = y0 + (y1 - y0) * s / 8;
        if (b.at(x, y)) b.set(x, y, BLACK);
      }
    }
    add_outline(b);
    frames.push_back(b);
  }
  return frames;
}
