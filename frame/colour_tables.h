// The colour tables of the palette on show: the nearest-colour lookup
// (installed as rgb_map), the translucency or light table (color_map), and
// the five shade ramps that explosions and effects index.
#pragma once

#include <allegro.h>

#include <array>

extern RGB_MAP rgb_table;
extern COLOR_MAP trans_table;

// Five ramps of eight shades, bright to dark: red, green, grey, blue, orange.
// Entry ramp * 8 + shade.
extern std::array<int, 40> shade_colours;
namespace ramp {
constexpr int RED = 0, GREEN = 1, GREY = 2, BLUE = 3, ORANGE = 4;
}

// The 8-bit red, green and blue of each of the 40 shades.
struct ShadeRgb {
  int r, g, b;
};
extern const std::array<ShadeRgb, 40> shade_rgb;

// Looks the 40 shades up in the installed rgb_map.
void compute_shade_colours();
