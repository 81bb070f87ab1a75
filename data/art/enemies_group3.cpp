// Levels 7-9: the jellyfish (kind 5) and the moth (kind 6).
#include "data/art/enemy_art.h"

#include <algorithm>

Bitmap8 jelly_frame(int f, int n) {
  Bitmap8 b(16, 16);
  // The bell beats: wide and flat when open, narrow and tall when it
  // squeezes; the tentacles trail in a wave that runs down them.
  float squeeze = cycle_cos(f, n);
  float rx = 6.6f - 0.9f * squeeze, ry = 5.2f + 0.8f * squeeze, cy = 6.5f - 0.3f * squeeze;
  float rim = cy + ry * 0.45f;
  for (int t = 0; t < 4; ++t) {
    float base = 8.0f + (float(t) - 1.5f) * (rx - 1.8f) / 1.5f;
    for (int y = int(rim) + 1; y < 16; ++y) {
      float depth = float(y) - rim;
      float x = base + 1.3f * std::sin(0.8f * depth - TWO_PI * float(f) / float(n) + 1.7f * float(t)) * depth / 8.0f;
      b.set(int(std::lround(x)), y, PURPLE.at(7 - int(depth / 2.5f)));
    }
  }
  Bitmap8 bell(16, 16);
  shaded_ellipse(bell, 8.0f, cy, rx, ry, MAGENTA, 2, 7);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (!bell.at(x, y) || y > rim + ((x % 3) == 1 ? 1 : 0)) continue;
      // A bright scalloped margin under the lit dome.
      int v = bell.at(x, y);
      if (y >= int(rim)) v = MAGENTA.at(x < 8 ? 6 : 5);
      b.set(x, y, v);
    }
  // The glowing core pulses with the beat.
  int core = GOLD.at(squeeze > 0.3f ? 7 : 5);
  fill_ellipse(b, 8.0f, cy + 0.5f, 1.6f + 0.5f * squeeze, 1.3f, GOLD.at(4));
  b.set(7, int(cy), core), b.set(8, int(cy), core);
  add_outline(b);
  return b;
}

namespace {

// One side of the moth, wings spread by `span` (0..1): a forewing rising to
// its tip, a round hindwing below, dusty gold with a dark band and an eye.
void moth_wings(Bitmap8 &b, int side, float span, int light) {
  float reach = 1.5f + 8.5f * span;
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 22; ++x) {
      float u = (float(side) * (x + 0.5f - 11.0f) - 1.0f) / reach;  // 0 at the body, 1 at the tip
      if (u < 0.0f || u > 1.0f) continue;
      float yy = y + 0.5f;
      // The forewing leans up towards its tip; the hindwing is a round lobe.
      float fu = (u - 0.5f) / 0.52f, fv = (yy - (6.8f - 3.2f * u)) / 2.9f;
      float fore_d = fu * fu + fv * fv;
      float hu = (u - 0.34f) / 0.36f, hv = (yy - 11.8f) / 3.2f;
      float hind_d = hu * hu + hv * hv;
      bool fore = fore_d < 1.0f;
      if (!fore && hind_d >= 1.0f) continue;
      const Ramp *ramp = fore ? &GOLD : &FLAME;
      int shade = (fore ? 5 : 3) + light - int(u * 1.5f) + (fv < -0.4f ? 1 : 0);
      if (fore && fore_d > 0.62f) ramp = &BROWN, shade = 2 + light;  // the dark margin
      if (!fore && hind_d > 0.5f) ramp = &BROWN, shade = 2 + light;
      float ex = (u - 0.6f) * reach, ey = yy - (6.8f - 3.2f * 0.6f);
      float eye = ex * ex + ey * ey;
      if (fore && eye < 2.3f) ramp = eye < 0.7f ? &GOLD : &BROWN, shade = eye < 0.7f ? 7 : 1;
      b.set(x, y, ramp->at(shade));
    }
}

}  // namespace

Bitmap8 moth_frame(int f, int n) {
  Bitmap8 b(22, 18);
  // Wings beat: wide open, then raised and seen edge-on, narrow. A raised
  // left wing turns its face away from the light, a raised right one to it.
  float open = 0.5f + 0.5f * cycle_cos(f, n);
  float span = 0.22f + 0.78f * open;
  int raised = int(std::lround((1.0f - open) * 2.0f));
  moth_wings(b, -1, span, -raised);
  moth_wings(b, 1, span, raised / 2 - 1);
  // Furry body, head at the bottom with feathered antennae.
  shaded_ellipse(b, 11.0f, 9.0f, 2.2f, 6.5f, BROWN, 2, 7);
  for (int y = 5; y < 14; y += 3) b.set(10, y, BROWN.at(2)), b.set(11, y, BROWN.at(1));
  draw_line(b, 10, 15, 7, 17, BROWN.at(5));
  draw_line(b, 11, 15, 14, 17, BROWN.at(4));
  b.set(10, 14, CRIMSON.at(f % 2 ? 6 : 4)), b.set(11, 14, CRIMSON.at(f % 2 ? 4 : 6));
  add_outline(b);
  return b;
}
