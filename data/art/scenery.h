// Painting space in full colour: sky with nebulae, planets and suns, stars;
// and dithering the result into palette indices. Used by the level and
// title backgrounds.
#pragma once

#include "data/art/palettes.h"
#include "data/dat_writer.h"

#include <vector>

struct FloatRgb {
  float r = 0, g = 0, b = 0;
};

struct FloatPicture {
  int width, height;
  std::vector<FloatRgb> pixels;
  FloatRgb &at(int x, int y) { return pixels[size_t(y) * width + x]; }
};

// The sky: the space ramp darkening towards the top, with nebula clouds.
struct Sky {
  const Palette &palette;
  const Ramp &space, &nebula, &planet;
  uint32_t seed;
  float nebula_scale, nebula_amount;
};

// A planet (or a sun, when `glow` is 1: it shines rather than being lit).
struct Planet {
  float cx, cy, radius;
  float bands;  // strength of cloud bands
  float glow;   // 0 lit from the upper left .. 1 self-luminous
  bool ring;
};

FloatPicture paint_sky(const Sky &sky, int width, int height);
void paint_planet(FloatPicture &picture, const Sky &sky, const Planet &planet);
void paint_stars(FloatPicture &picture, uint32_t seed, int count);
// Brightness above `knee` (0..255 luminance) is squeezed to stay below `cap`.
void compress_highlights(FloatPicture &picture, float knee, float cap);

// Ordered dithering into the nearest of the allowed indices.
Bitmap8 dither(const FloatPicture &picture, const Palette &palette, const std::vector<int> &allowed);
