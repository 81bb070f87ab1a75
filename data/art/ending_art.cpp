// The ending's eight drifting pictures - the ship, a trophy, a medal, the
// four worlds the game was fought over and the wrecked mothership - and its
// closing title.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/glyphs.h"
#include "data/art/scenery.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr float TWO_PI = 6.28318531f;

// The worlds of the four level groups, painted as the level backgrounds
// paint theirs: a smooth disc lit from the upper left with soft cloud
// bands and a thin atmosphere, or a sun that shines from within.
struct World {
  float radius;
  Planet look;  // placed at the picture's middle
  uint32_t seed;
};

const World worlds[4] = {
    {15.5f, {0, 0, 15.5f, 0.35f, 0.0f, false}, 11},
    {18.0f, {0, 0, 18.0f, 0.9f, 0.0f, false}, 23},
    {14.0f, {0, 0, 14.0f, 0.0f, 1.0f, false}, 37},
    {11.0f, {0, 0, 11.0f, 0.5f, 0.0f, true}, 41},
};

Bitmap8 world_picture(int k, const Palette &palette) {
  const World &w = worlds[k];
  const Ramp &ramp = ENDING_WORLDS[k];
  float half_w = w.look.ring ? w.radius * 2.3f : w.radius * (w.look.glow > 0.5f ? 1.3f : 1.1f);
  float half_h = w.look.ring ? w.radius * 1.1f : half_w;
  FloatPicture picture{int(std::ceil(half_w * 2)), int(std::ceil(half_h * 2)), {}};
  picture.pixels.resize(size_t(picture.width) * picture.height);
  Planet look = w.look;
  look.cx = picture.width / 2.0f, look.cy = picture.height / 2.0f;
  Sky sky{palette, ramp, ramp, ramp, w.seed, 0.0f, 0.0f};
  paint_planet(picture, sky, look);
  std::vector<int> allowed{BLACK};
  for (int i = 0; i < ramp.count; ++i) allowed.push_back(ramp.at(i));
  // Each pixel the nearest shade, without dithering: a dither pattern
  // turned pixel by pixel would break up into noise. What the painter left
  // black is the space round the world.
  Bitmap8 b(picture.width, picture.height);
  for (size_t i = 0; i < b.pixels.size(); ++i) {
    const FloatRgb &c = picture.pixels[i];
    auto channel = [](float v) { return uint8_t(std::clamp(v, 0.0f, 255.0f)); };
    if (c.r + c.g + c.b >= 1.0f) b.pixels[i] = uint8_t(nearest_index(palette, allowed, {channel(c.r), channel(c.g), channel(c.b)}));
  }
  return b;
}

// A picture with a clear pixel all round and an outline closed diagonally
// too, so that it stays whole while the ending turns it.
Bitmap8 framed(const Bitmap8 &picture) {
  Bitmap8 b(picture.width + 2, picture.height + 2);
  stamp(b, picture, 1, 1);
  add_full_outline(b);
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
  return b;
}

}  // namespace

Bitmap8 ending_picture(int k, const Palette &palette) {
  switch (k) {
    case 1: return framed(large_ship());
    case 2: return framed(trophy());
    case 3: return framed(medal());
    case 8: return framed(mothership_wreck());
    default: return framed(world_picture(k - 4, palette));
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
