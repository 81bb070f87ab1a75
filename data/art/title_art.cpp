// The title background with the game's name.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/glyphs.h"
#include "data/art/scenery.h"

#include <algorithm>
#include <cmath>

namespace {

const TextStyle logo_style{&TITLE_LOGO, 30, 6};

// The name with a fiery glow round it and a drop shadow under it.
Bitmap8 logo_picture() {
  Bitmap8 logo = render_text("SWARMFIRE", 3.0f, 3, 28.0f, logo_style);
  constexpr int R = 4, SHADOW = 3;
  Bitmap8 b(logo.width + 2 * R, logo.height + 2 * R);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      float nearest = 99.0f;
      for (int dy = -R; dy <= R; ++dy)
        for (int dx = -R; dx <= R; ++dx)
          if (logo.at(x - R + dx, y - R + dy)) nearest = std::min(nearest, std::sqrt(float(dx * dx + dy * dy)));
      if (nearest <= R) b.set(x, y, TITLE_LOGO.at(int(std::lround(8.0f - 1.8f * nearest))));
    }
  for (int y = 0; y < logo.height; ++y)
    for (int x = 0; x < logo.width; ++x)
      if (logo.at(x, y)) b.set(x + R + SHADOW, y + R + SHADOW, BLACK);
  stamp(b, logo, R, R);
  return b;
}

}  // namespace

Bitmap8 title_background(const Palette &palette) {
  Sky sky{palette, TITLE_SPACE, TITLE_NEBULA, TITLE_PLANET, 57, 0.011f, 0.6f};
  FloatPicture picture = paint_sky(sky, 320, 240);
  paint_planet(picture, sky, {40.0f, 330.0f, 150.0f, 0.2f, 0.0f, false});
  paint_stars(picture, 61, 260);
  // Keep the corner of the version string dark, fading into the sky.
  for (int y = 0; y < 16; ++y)
    for (int x = 266; x < 320; ++x) {
      float keep = std::clamp(std::max((270.0f - x) / 6.0f + 1.0f, (y - 10.0f) / 6.0f), 0.0f, 1.0f);
      FloatRgb &c = picture.at(x, y);
      c = {2 + (c.r - 2) * keep, 2 + (c.g - 2) * keep, 8 + (c.b - 8) * keep};
    }
  std::vector<int> allowed{BLACK};
  for (const Ramp *r : {&TITLE_SPACE, &TITLE_NEBULA, &TITLE_PLANET})
    for (int i = 0; i < r->count; ++i) allowed.push_back(r->at(i));
  for (int i = 224; i < 250; ++i) allowed.push_back(i);
  Bitmap8 b = dither(picture, palette, allowed);

  // The name, large, across the top.
  Bitmap8 logo = logo_picture();
  stamp(b, logo, (320 - logo.width) / 2, 17);
  // A wave of the swarm diving at the ship, to the left of the menu.
  const int swarm[5][3] = {{1, 20, 96}, {1, 44, 112}, {2, 66, 92}, {1, 88, 128}, {6, 30, 142}};
  for (const auto &e : swarm) stamp(b, enemy_frames(e[0])[1], e[1], e[2]);
  stamp(b, ship_frames()[3], 64, 204);
  stamp(b, player_shot_frames()[0], 69, 184);
  stamp(b, player_shot_frames()[1], 69, 166);
  return b;
}
