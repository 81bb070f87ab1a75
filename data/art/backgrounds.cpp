// The level backgrounds: 320 x 960 pictures of space that scroll down past
// the play, one per group: deep space with stars, a nebula and a planet or a
// sun. Painted in full colour, then dithered into the palette's background
// ramps.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/noise.h"
#include "data/art/scenery.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int WIDTH = 320, HEIGHT = 960;

// What a group's background shows; the colours come from its palette ramps.
struct Scene {
  uint32_t seed;
  float nebula_scale;    // size of the clouds
  float nebula_amount;   // how much sky they cover
  Planet planet;
};

const Scene scenes[4] = {
    // The rim of a blue world low in the picture, where each level starts.
    {11, 0.010f, 0.60f, {210.0f, 1330.0f, 420.0f, 0.0f, 0.35f, false}},
    // A banded gas giant at the left edge, half way up.
    {23, 0.008f, 0.75f, {-40.0f, 540.0f, 190.0f, 0.9f, 0.25f, false}},
    // A dying red dwarf in the bottom right corner.
    {37, 0.012f, 0.55f, {290.0f, 900.0f, 95.0f, 0.0f, 1.0f, false}},
    // A small ringed planet high up.
    {41, 0.009f, 0.80f, {90.0f, 380.0f, 56.0f, 0.5f, 0.3f, true}},
};

}  // namespace

Bitmap8 level_background(int group, const Palette &palette) {
  const Scene &scene = scenes[group];
  Sky sky{palette, SPACE_RAMP, NEBULA_RAMP, PLANET_RAMP, scene.seed, scene.nebula_scale,
          scene.nebula_amount};
  FloatPicture picture = paint_sky(sky, WIDTH, HEIGHT);
  paint_planet(picture, sky, scene.planet);
  // Dark enough everywhere for the sprites to stand out in front.
  compress_highlights(picture, 38.0f, 70.0f);
  paint_stars(picture, scene.seed + 5, 700);
  std::vector<int> allowed;
  allowed.push_back(BLACK);
  for (int i = 5; i < 8; ++i) allowed.push_back(GREY_SHADES.at(i));  // stars
  for (const Ramp *r : {&SPACE_RAMP, &NEBULA_RAMP, &PLANET_RAMP})
    for (int i = 0; i < r->count; ++i) allowed.push_back(r->at(i));
  return dither(picture, palette, allowed);
}
