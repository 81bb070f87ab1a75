#include "data/art/scenery.h"

#include "data/art/noise.h"

#include <algorithm>
#include <cmath>

namespace {

FloatRgb colour_of(const Palette &p, int index) {
  Rgb c = shown(p[index]);
  return {float(c.r), float(c.g), float(c.b)};
}

// A ramp as a continuous gradient, t in 0..1.
FloatRgb ramp_colour(const Palette &p, const Ramp &ramp, float t) {
  t = std::clamp(t, 0.0f, 1.0f) * float(ramp.count - 1);
  int i = std::min(int(t), ramp.count - 2);
  FloatRgb a = colour_of(p, ramp.at(i)), b = colour_of(p, ramp.at(i + 1));
  float f = t - float(i);
  return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

FloatRgb lerp(FloatRgb a, FloatRgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr float bayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

FloatPicture paint_sky(const Sky &sky, int width, int height) {
  FloatPicture pic{width, height, std::vector<FloatRgb>(size_t(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float depth = 0.25f + 0.5f * float(y) / float(height);
      float haze = fractal_noise(x * 0.004f, y * 0.004f, 3, sky.seed + 3);
      FloatRgb c = ramp_colour(sky.palette, sky.space, depth * 0.6f + haze * 0.5f - 0.15f);
      // Far layer: broad, faint veils of the nebula colour.
      float veil = fractal_noise(x * sky.nebula_scale * 0.8f, y * sky.nebula_scale * 0.8f, 4, sky.seed + 21);
      float far = std::clamp((veil - 0.5f) * 1.6f, 0.0f, 1.0f);
      if (far > 0.0f) c = lerp(c, ramp_colour(sky.palette, sky.nebula, far * 0.35f), far * 0.6f);
      // Near layer: detailed clouds, kept to patches by a broad mask.
      float mask = fractal_noise(x * sky.nebula_scale * 0.5f, y * sky.nebula_scale * 0.5f, 2, sky.seed + 7);
      float cloud = fractal_noise(x * sky.nebula_scale * 3.0f, y * sky.nebula_scale * 3.0f, 5, sky.seed);
      float density = std::clamp((mask - (1.0f - sky.nebula_amount)) * 2.2f, 0.0f, 1.0f) *
                      std::clamp(cloud * 1.6f - 0.35f, 0.0f, 1.0f);
      if (density > 0.0f) c = lerp(c, ramp_colour(sky.palette, sky.nebula, density), std::min(1.0f, density * 1.5f));
      // Dust lanes in front of the clouds: dark threads that give depth.
      float dust = fractal_noise(x * sky.nebula_scale * 2.0f + 40.0f, y * sky.nebula_scale * 1.2f, 4, sky.seed + 31);
      float lane = std::clamp((dust - 0.56f) * 4.0f, 0.0f, 1.0f);
      c = lerp(c, ramp_colour(sky.palette, sky.space, 0.0f), lane * 0.75f);
      pic.at(x, y) = c;
    }
  return pic;
}

void compress_highlights(FloatPicture &pic, float knee, float cap) {
  for (FloatRgb &c : pic.pixels) {
    float y = 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
    if (y <= knee) continue;
    float room = cap - knee;
    float to = knee + room * (1.0f - std::exp(-(y - knee) / room));
    float k = to / y;
    c = {c.r * k, c.g * k, c.b * k};
  }
}

void paint_planet(FloatPicture &pic, const Sky &sky, const Planet &p) {
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      float dx = (x + 0.5f - p.cx) / p.radius, dy = (y + 0.5f - p.cy) / p.radius;
      float rr = dx * dx + dy * dy;
      FloatRgb &c = pic.at(x, y);
      if (p.ring) {
        // A tilted ring, in front of the planet below its middle.
        float ry = dy * 3.2f, rx = dx * 0.85f;
        float rd = std::sqrt(rx * rx + ry * ry);
        bool front = dy > 0.0f || rr > 1.0f;
        if (rd > 1.35f && rd < 1.9f && front) {
          float stripe = 0.55f + 0.45f * std::sin(rd * 30.0f);
          c = lerp(c, ramp_colour(sky.palette, sky.planet, 0.35f + 0.4f * stripe), 0.85f);
          continue;
        }
      }
      if (rr > 1.0f) {
        // Atmosphere or corona just outside the disc.
        float halo = std::clamp(1.0f - (std::sqrt(rr) - 1.0f) * (p.glow > 0.5f ? 4.0f : 14.0f), 0.0f, 1.0f);
        if (halo > 0.0f) c = lerp(c, ramp_colour(sky.palette, sky.planet, 0.2f + 0.3f * p.glow), halo * 0.6f);
        continue;
      }
      float nz = std::sqrt(1.0f - rr);
      float lit = std::clamp(-0.55f * dx - 0.45f * dy + 0.7f * nz, 0.0f, 1.0f);
      float bands = p.bands * (std::sin(dy * 14.0f + fractal_noise(x * 0.03f, y * 0.03f, 3, sky.seed + 9) * 4.0f) * 0.5f + 0.5f);
      float surface = fractal_noise(x * 0.02f, y * 0.02f, 4, sky.seed + 13);
      // Kept below the brightest shades, so that sprites read in front of it.
      float t = p.glow > 0.5f ? 0.3f + 0.4f * nz * (0.6f + 0.4f * surface)
                              : 0.8f * lit * (0.75f + 0.25f * surface) * (1.0f - 0.35f * bands) + 0.05f;
      c = ramp_colour(sky.palette, sky.planet, t);
    }
}

void paint_stars(FloatPicture &pic, uint32_t seed, int count) {
  ArtRandom rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.below(pic.width), y = rng.below(pic.height);
    float v = 60.0f + 195.0f * rng.unit() * rng.unit();
    FloatRgb &c = pic.at(x, y);
    c = {std::max(c.r, v), std::max(c.g, v), std::max(c.b, v)};
    if (v > 220.0f) {
      // Bright stars get a small cross.
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        int sx = x + dx, sy = y + dy;
        if (sx < 0 || sy < 0 || sx >= pic.width || sy >= pic.height) continue;
        FloatRgb &n = pic.at(sx, sy);
        n = lerp(n, {v, v, v}, 0.45f);
      }
    }
  }
}

Bitmap8 dither(const FloatPicture &pic, const Palette &palette, const std::vector<int> &allowed) {
  // Nearest allowed index for every 5-bit colour cell, found once.
  std::vector<uint8_t> nearest(32 * 32 * 32);
  for (int r = 0; r < 32; ++r)
    for (int g = 0; g < 32; ++g)
      for (int b = 0; b < 32; ++b)
        nearest[(r * 32 + g) * 32 + b] = uint8_t(nearest_index(
            palette, allowed, {uint8_t(r * 8 + 4), uint8_t(g * 8 + 4), uint8_t(b * 8 + 4)}));
  Bitmap8 out(pic.width, pic.height);
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      const FloatRgb &c = pic.pixels[size_t(y) * pic.width + x];
      float d = (bayer4[y & 3][x & 3] / 16.0f - 0.47f) * 14.0f;
      auto cell = [d](float v) { return std::clamp(int((v + d) / 8.0f), 0, 31); };
      out.set(x, y, nearest[(cell(c.r) * 32 + cell(c.g)) * 32 + cell(c.b)]);
    }
  return out;
}
