// The ending's eight drifting pictures - the ship, a trophy, a medal, the
// four worlds the game was fought over and the wrecked mothership - and its
// closing title.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/glyphs.h"
#include "data/art/noise.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr float bayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr float TWO_PI = 6.28318531f;

// A shade of `ramp` for a level 0..1, dithered between neighbours.
int dithered(const Ramp &ramp, float t, int x, int y) {
  float s = std::clamp(t, 0.0f, 1.0f) * float(ramp.count - 1) + bayer4[y & 3][x & 3] / 16.0f - 0.47f;
  return ramp.at(int(std::floor(s + 0.5f)));
}

struct World {
  const Ramp *ramp;
  float radius;
  float bands;  // cloud bands across the disc
  bool sun;     // shines from within instead of being lit
  bool ring;
  bool clouds;  // white cloud streaks over the surface
  uint32_t seed;
};

const World worlds[4] = {
    {&ENDING_WORLDS[0], 15.5f, 0.25f, false, false, true, 11},
    {&ENDING_WORLDS[1], 18.0f, 0.9f, false, false, false, 23},
    {&ENDING_WORLDS[2], 14.0f, 0.0f, true, false, false, 37},
    {&ENDING_WORLDS[3], 11.0f, 0.45f, false, true, false, 41},
};

Bitmap8 world_picture(const World &w) {
  float half_w = w.ring ? w.radius * 2.15f : w.radius + (w.sun ? 3.0f : 0.0f);
  float half_h = w.radius + (w.sun ? 3.0f : 0.0f);
  Bitmap8 b(int(std::ceil(half_w * 2)) + 2, int(std::ceil(half_h * 2)) + 2);
  float cx = b.width / 2.0f, cy = b.height / 2.0f;
  const Ramp &ramp = *w.ramp;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      float dx = (x + 0.5f - cx) / w.radius, dy = (y + 0.5f - cy) / w.radius;
      float rr = dx * dx + dy * dy;
      if (w.ring) {
        // A tilted ring, in front of the planet below its middle.
        float rd = std::hypot(dx * 0.85f, dy * 3.4f);
        if (rd > 1.3f && rd < 1.8f && (dy > 0.0f || rr > 1.0f)) {
          float stripe = 0.5f + 0.5f * std::sin(rd * 34.0f);
          b.set(x, y, dithered(ramp, 0.35f + 0.45f * stripe - (dx > 0 ? 0.15f : 0.0f), x, y));
          continue;
        }
      }
      if (rr > 1.0f) {
        // The red dwarf's corona.
        float out = std::sqrt(rr) - 1.0f;
        if (w.sun && out < 0.2f) b.set(x, y, dithered(ramp, 0.45f - out * 2.0f, x, y));
        continue;
      }
      float nz = std::sqrt(1.0f - rr);
      float surface = fractal_noise(x * 0.25f, y * 0.25f, 3, w.seed);
      float t;
      if (w.sun) {
        t = 0.45f + 0.45f * nz + 0.2f * (surface - 0.5f);
      } else {
        float lit = std::clamp(-0.55f * dx - 0.45f * dy + 0.7f * nz, 0.0f, 1.0f);
        float bands = w.bands * (0.5f + 0.5f * std::sin(dy * 9.0f + surface * 3.0f));
        t = 0.08f + 0.92f * lit * (0.8f + 0.2f * surface) * (1.0f - 0.3f * bands);
        float cloud = fractal_noise(x * 0.3f, y * 0.6f, 3, w.seed + 7);
        if (w.clouds && cloud > 0.58f) t = std::max(t, 0.25f + 0.8f * lit);
      }
      b.set(x, y, dithered(ramp, t, x, y));
    }
  if (!w.sun) add_outline(b);
  return b;
}

bool inside_polygon(const std::vector<std::pair<float, float>> &p, float x, float y) {
  bool in = false;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    if ((p[i].second > y) != (p[j].second > y) &&
        x < (p[j].first - p[i].first) * (y - p[i].second) / (p[j].second - p[i].second) + p[i].first)
      in = !in;
  return in;
}

std::vector<std::pair<float, float>> star_points(float cx, float cy, float outer) {
  std::vector<std::pair<float, float>> p;
  for (int k = 0; k < 10; ++k) {
    float a = -TWO_PI / 4.0f + TWO_PI * float(k) / 10.0f, r = k % 2 ? outer * 0.45f : outer;
    p.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  return p;
}

// An embossed star: lighter than what it stands on, its upper left edges
// catching the light.
void emboss_star(Bitmap8 &b, float cx, float cy, float outer, const Ramp &ramp, int shade) {
  auto star = star_points(cx, cy, outer);
  Bitmap8 mask(b.width, b.height);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x)
      if (inside_polygon(star, x + 0.5f, y + 0.5f)) mask.set(x, y, 1);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (!mask.at(x, y)) continue;
      int s = shade;
      if (!mask.at(x - 1, y) || !mask.at(x, y - 1)) s += 1;
      if (!mask.at(x + 1, y) || !mask.at(x, y + 1)) s -= 3;
      b.set(x, y, ramp.at(s));
    }
}

Bitmap8 trophy() {
  Bitmap8 b(28, 32);
  // Handles: rings either side of the bowl.
  for (int side : {-1, 1}) {
    float hx = 14.0f + side * 10.0f;
    shaded_ellipse(b, hx, 10.0f, 4.0f, 4.5f, GOLD, 2, 6);
    fill_ellipse(b, hx, 10.0f, 2.0f, 2.5f, TRANSPARENT);
  }
  // The bowl: the lower half of a lit dome, then its rim and dark inside.
  Bitmap8 bowl(28, 32);
  shaded_ellipse(bowl, 14.0f, 5.0f, 9.5f, 12.5f, GOLD, 1, 7);
  for (int y = 5; y < 32; ++y)
    for (int x = 0; x < 28; ++x)
      if (bowl.at(x, y)) b.set(x, y, bowl.at(x, y));
  shaded_ellipse(b, 14.0f, 5.0f, 9.5f, 2.6f, GOLD, 4, 7);
  shaded_ellipse(b, 14.0f, 5.3f, 7.8f, 1.6f, GOLD, 0, 2);
  emboss_star(b, 14.0f, 11.0f, 4.2f, GOLD, 6);
  // Stem, knot and a two-step base.
  for (int y = 17; y < 24; ++y)
    for (int x = 12; x < 17; ++x) b.set(x, y, GOLD.at(x == 12 ? 6 : x == 16 ? 2 : 4));
  shaded_ellipse(b, 14.0f, 20.0f, 3.6f, 1.6f, GOLD, 2, 7);
  for (int y = 24; y < 27; ++y)
    for (int x = 8 - (y - 24); x < 21 + (y - 24); ++x) b.set(x, y, GOLD.at(y == 24 ? 6 : 4 - (x > 14)));
  for (int y = 27; y < 31; ++y)
    for (int x = 4; x < 24; ++x) b.set(x, y, BROWN.at(y == 27 ? 5 : x < 6 ? 4 : 2));
  for (int x = 10; x < 18; ++x) b.set(x, 29, GOLD.at(6));  // the plate
  b.set(9, 8, GREY_SHADES.at(7));                           // a glint
  add_outline(b);
  return b;
}

Bitmap8 medal() {
  Bitmap8 b(26, 34);
  // The ribbon: two crimson straps with a gold stripe, meeting behind the
  // medal.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 26; ++x) {
      for (int side : {-1, 1}) {
        float centre = 13.0f + side * (8.0f - 5.0f * float(y) / 15.0f);
        float d = (x + 0.5f - centre) * float(side);
        if (std::fabs(d) > 3.2f) continue;
        int shade = side < 0 ? 5 : 3;
        b.set(x, y, std::fabs(d) < 0.8f ? GOLD.at(side < 0 ? 6 : 4) : CRIMSON.at(shade - (d > 2.0f)));
      }
    }
  // The medal: a lit gold disc with a raised rim and a star.
  shaded_ellipse(b, 13.0f, 23.0f, 10.0f, 10.0f, GOLD, 2, 7);
  shaded_ellipse(b, 13.0f, 23.0f, 7.6f, 7.6f, GOLD, 1, 5);
  emboss_star(b, 13.0f, 23.5f, 6.4f, GOLD, 6);
  b.set(8, 17, GREY_SHADES.at(7));
  add_outline(b);
  return b;
}

}  // namespace

Bitmap8 ending_picture(int k) {
  switch (k) {
    case 1: return large_ship();
    case 2: return trophy();
    case 3: return medal();
    case 8: return mothership_wreck();
    default: return world_picture(worlds[k - 4]);
  }
}

Bitmap8 ending_title() {
  // The name as on the title, in fire with a thin glow round it.
  const TextStyle style{&ENDING_TITLE, 30, 10};
  Bitmap8 text = render_text("SWARMFIRE", 1.5f, 2, 14.3f, style);
  Bitmap8 b(text.width + 2, text.height + 2);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (text.at(x - 1 + dx, y - 1 + dy)) b.set(x, y, ENDING_TITLE.at(9));
  stamp(b, text, 1, 1);
  return b;
}
