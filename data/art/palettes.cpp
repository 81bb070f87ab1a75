#include "data/art/palettes.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

int Ramp::level(float v) const {
  v = std::clamp(v, 0.0f, 1.0f);
  return at(static_cast<int>(std::lround(v * (count - 1))));
}

const Ramp RED_SHADES{2, 6}, GREEN_SHADES{8, 8}, GREY_SHADES{16, 8}, BLUE_SHADES{24, 8},
    ORANGE_SHADES{32, 8};
const Ramp HULL{40, 8}, CYAN{48, 8}, GOLD{56, 8}, PURPLE{64, 8}, MAGENTA{72, 8}, LIME{80, 8},
    CRIMSON{88, 8}, BROWN{96, 8}, TEAL{104, 8}, FLAME{112, 8};
const Ramp SPACE_RAMP{120, 16}, NEBULA_RAMP{136, 16}, PLANET_RAMP{152, 16};
const Ramp DEPTH_GREYS{120, 64};
const Ramp OPTION_LABEL{184, 24}, OPTION_ON{208, 12}, OPTION_OFF{220, 12};
const Ramp OPTION_LABEL_DIM{232, 8}, OPTION_ON_DIM{240, 4}, OPTION_OFF_DIM{244, 4};
const Ramp TITLE_SPACE{120, 24}, TITLE_NEBULA{144, 24}, TITLE_PLANET{168, 24}, TITLE_LOGO{192, 32};
const Ramp ENDING_TITLE{184, 32};
const Ramp ENDING_WORLDS[4] = {{216, 10}, {226, 10}, {236, 10}, {246, 10}};

namespace {

// The exact shades that makecol must find (dark to bright).
constexpr int shade_steps[8] = {10, 30, 50, 70, 100, 150, 200, 255};
constexpr int red_steps[6] = {20, 50, 100, 150, 200, 255};
constexpr Rgb orange_steps[8] = {{10, 5, 0},    {30, 15, 0},   {50, 25, 0},   {70, 35, 0},
                                 {100, 50, 0},  {150, 75, 0},  {200, 100, 0}, {255, 128, 0}};

// The art ramps, eight shades each, dark to bright; the brightest are
// highlights that lean towards white.
constexpr Rgb art_ramps[10][8] = {
    // hull: the ship's own azure, which no enemy wears
    {{10, 16, 40}, {18, 32, 78}, {28, 52, 120}, {40, 78, 165}, {60, 110, 205}, {90, 150, 240},
     {130, 185, 255}, {215, 235, 255}},
    // cyan: cockpits, player shots, ice
    {{0, 20, 30}, {0, 40, 60}, {0, 70, 100}, {0, 105, 140}, {0, 145, 180}, {40, 190, 220},
     {110, 225, 245}, {200, 250, 255}},
    // gold: glyphs, wasps, score
    {{40, 24, 0}, {80, 50, 0}, {120, 80, 0}, {165, 115, 10}, {205, 155, 20}, {240, 195, 40},
     {255, 225, 100}, {255, 248, 190}},
    // purple, a red-leaning plum, clear of the hull's blue
    {{30, 0, 28}, {60, 8, 56}, {92, 18, 86}, {125, 30, 115}, {155, 48, 142}, {185, 75, 170},
     {215, 120, 205}, {240, 185, 240}},
    // magenta
    {{35, 0, 20}, {70, 0, 40}, {110, 10, 65}, {150, 20, 90}, {195, 40, 120}, {230, 70, 150},
     {250, 130, 190}, {255, 218, 240}},
    // lime
    {{8, 30, 0}, {20, 58, 4}, {38, 92, 8}, {60, 130, 14}, {90, 170, 26}, {135, 210, 45},
     {185, 235, 110}, {230, 255, 190}},
    // crimson: red art with pink highlights
    {{40, 0, 5}, {80, 5, 10}, {125, 10, 15}, {170, 20, 25}, {210, 40, 40}, {240, 80, 70},
     {255, 140, 120}, {255, 210, 190}},
    // brown: rock
    {{30, 20, 12}, {52, 36, 22}, {75, 54, 34}, {98, 72, 46}, {122, 92, 60}, {148, 114, 78},
     {176, 140, 100}, {206, 172, 130}},
    // teal
    {{0, 28, 24}, {0, 52, 45}, {5, 80, 68}, {15, 110, 92}, {30, 140, 118}, {60, 175, 148},
     {110, 210, 185}, {180, 240, 220}},
    // flame: engines, fire
    {{60, 0, 0}, {120, 20, 0}, {180, 50, 0}, {230, 90, 0}, {255, 140, 10}, {255, 190, 40},
     {255, 230, 120}, {255, 255, 230}},
};

// The glow colours of each group (shot halo outside and inside, explosion
// ring outside and inside). The blend keeps only 24/255 of them and takes
// 24/255 off what lies beneath, so they are near white: then every channel
// of the dark backgrounds gains and the light shows; a warm or cold tint
// would darken the other channels. The insides are the brighter.
constexpr Rgb glow_colours[4][4] = {
    {{200, 225, 255}, {245, 250, 255}, {255, 225, 190}, {255, 250, 235}},
    {{200, 255, 225}, {245, 255, 250}, {225, 255, 225}, {245, 255, 240}},
    {{255, 225, 200}, {255, 250, 245}, {255, 215, 170}, {255, 245, 225}},
    {{235, 205, 255}, {252, 245, 255}, {255, 215, 235}, {255, 245, 250}},
};
constexpr int glow_indices[4] = {GLOW_SHOT_OUTER, GLOW_SHOT_INNER, GLOW_RING_OUTER, GLOW_RING_INNER};

Rgb mix(Rgb a, Rgb b, float t) {
  auto m = [t](int x, int y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// Fills a ramp with an even gradient through the given colours.
void fill_gradient(Palette &p, const Ramp &ramp, std::initializer_list<Rgb> stops) {
  std::vector<Rgb> s(stops);
  for (int i = 0; i < ramp.count; ++i) {
    float t = ramp.count == 1 ? 0.0f : float(i) / float(ramp.count - 1) * float(s.size() - 1);
    int k = std::min(static_cast<int>(t), static_cast<int>(s.size()) - 2);
    p[ramp.first + i] = mix(s[k], s[k + 1], t - float(k));
  }
}

// Background ramps of the four level groups: space, nebula, planet. Kept
// dark, so that sprites, shots and explosions stand out in front.
struct GroupColours {
  std::initializer_list<Rgb> space, nebula, planet;
};
const GroupColours group_colours[4] = {
    // levels 1-3: blue-black space, a cold violet nebula, the night side of
    // a blue world
    {{{1, 1, 6}, {6, 8, 24}, {14, 18, 46}},
     {{10, 6, 30}, {36, 26, 80}, {86, 66, 150}},
     {{2, 6, 16}, {10, 28, 60}, {30, 74, 120}, {80, 140, 190}}},
    // levels 4-6: green-black space, an emerald nebula, an olive gas giant
    {{{1, 4, 4}, {5, 15, 16}, {12, 30, 30}},
     {{3, 20, 16}, {14, 64, 46}, {60, 140, 104}},
     {{12, 10, 3}, {56, 52, 22}, {118, 108, 58}, {170, 160, 110}}},
    // levels 7-9: mauve dust round a dying star's last amber embers; both
    // kept dark and clear of red, so that explosions, whose particles are
    // red, stand out in front of them
    {{{3, 1, 3}, {12, 5, 12}, {26, 12, 24}},
     {{16, 8, 16}, {50, 28, 48}, {104, 70, 96}},
     {{30, 20, 4}, {80, 60, 18}, {132, 106, 44}, {180, 158, 100}}},
    // levels 10-12: violet void, a magenta nebula, a pale ringed planet
    {{{2, 1, 7}, {12, 4, 20}, {26, 10, 36}},
     {{22, 4, 28}, {76, 20, 74}, {160, 76, 140}},
     {{8, 14, 26}, {40, 62, 96}, {100, 136, 170}, {170, 196, 220}}},
};

// What the 24/255 translucency table makes of `glow` over `under`, worked
// out the way the library does it, on the palette's 6-bit values.
Rgb translucent_blend(Rgb glow, Rgb under) {
  auto channel = [](int g, int u) {
    return uint8_t(from_six_bits(uint8_t(six_bits(uint8_t(g)) * 24 / 255 + six_bits(uint8_t(u)) * 231 / 255)));
  };
  return {channel(glow.r, under.r), channel(glow.g, under.g), channel(glow.b, under.b)};
}

int distance(Rgb a, Rgb b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// The colours the game asks makecol for: the five shade ramps and the
// stars' greys.
std::vector<Rgb> colours_looked_up() {
  std::vector<Rgb> wanted;
  for (int i = RED_SHADES.first; i < ORANGE_SHADES.first + ORANGE_SHADES.count; ++i) wanted.push_back({});
  for (int v : {255, 200, 150, 100}) wanted.push_back({uint8_t(v), uint8_t(v), uint8_t(v)});
  return wanted;
}

bool close_to(Rgb a, Rgb b) {
  return std::abs(a.r - b.r) <= 6 && std::abs(a.g - b.g) <= 6 && std::abs(a.b - b.b) <= 6;
}

// makecol goes through the library's colour lookup table, which finds a
// near entry rather than the nearest: background and glow colours close to
// a shade can take its lookups. Such entries are moved a little further
// from the shade until every shade colour finds itself.
void keep_shades_reachable(Palette &palette) {
  std::vector<Rgb> wanted = colours_looked_up();
  for (int i = 0; i < ORANGE_SHADES.first + ORANGE_SHADES.count - RED_SHADES.first; ++i)
    wanted[size_t(i)] = shown(palette[RED_SHADES.first + i]);
  static RGB_MAP table;
  for (int round = 0; round < 40; ++round) {
    PALETTE library_palette;
    for (int i = 0; i < 256; ++i)
      library_palette[i] = RGB{six_bits(palette[i].r), six_bits(palette[i].g), six_bits(palette[i].b), 0};
    create_rgb_table(&table, library_palette, nullptr);
    bool moved = false;
    for (Rgb w : wanted) {
      int found = table.data[w.r >> 3][w.g >> 3][w.b >> 3];
      if (close_to(shown(palette[found]), w)) continue;
      if (found < SPRITE_BLOCK_END) continue;  // an art ramp: leave it
      Rgb c = shown(palette[found]);
      int dr = c.r - w.r, dg = c.g - w.g, db = c.b - w.b;
      float length = std::max(1.0f, std::sqrt(float(dr * dr + dg * dg + db * db)));
      auto away = [length](int v, int d) { return uint8_t(std::clamp(int(std::lround(v + 10.0f * d / length)), 0, 255)); };
      palette[found] = {away(c.r, dr), away(c.g, dg), away(c.b, db)};
      moved = true;
    }
    if (!moved) return;
  }
}

// Fills `dim` with what the part of `ramp` from `lowest` up looks like at
// the options overlay's dim level.
void add_dim_ramp(Palette &p, const Ramp &ramp, float lowest, const Ramp &dim) {
  for (int i = 0; i < dim.count; ++i) {
    float t = lowest + (1.0f - lowest) * float(i) / float(dim.count - 1);
    Rgb c = shown(p[ramp.level(t)]);
    auto scale = [](uint8_t v) { return uint8_t(std::lround(v * OPTIONS_DIM_LEVEL / 255.0f)); };
    p[dim.at(i)] = {scale(c.r), scale(c.g), scale(c.b)};
  }
}

}  // namespace

int nearest_index(const Palette &palette, const std::vector<int> &indices, Rgb colour) {
  int best = indices.front(), best_d = 1 << 30;
  for (int i : indices) {
    int d = distance(shown(palette[i]), colour);
    if (d < best_d) best = i, best_d = d;
  }
  return best;
}

Palette sprite_block_palette() {
  Palette p{};
  for (int i = 0; i < 6; ++i) p[RED_SHADES.at(i)] = {uint8_t(red_steps[i]), 0, 0};
  for (int i = 0; i < 8; ++i) {
    uint8_t v = uint8_t(shade_steps[i]);
    p[GREEN_SHADES.at(i)] = {0, v, 0};
    p[GREY_SHADES.at(i)] = {v, v, v};
    p[BLUE_SHADES.at(i)] = {0, 0, v};
    p[ORANGE_SHADES.at(i)] = orange_steps[i];
  }
  for (int r = 0; r < 10; ++r)
    for (int i = 0; i < 8; ++i) p[HULL.first + 8 * r + i] = art_ramps[r][i];
  return p;
}

Palette level_base_palette(int group) {
  Palette p = sprite_block_palette();
  const GroupColours &g = group_colours[group];
  fill_gradient(p, SPACE_RAMP, g.space);
  fill_gradient(p, NEBULA_RAMP, g.nebula);
  fill_gradient(p, PLANET_RAMP, g.planet);
  for (int k = 0; k < 4; ++k) p[glow_indices[k]] = glow_colours[group][k];
  return p;
}

void add_glow_blends(Palette &palette, const Bitmap8 &background) {
  // How often each colour lies under the glow layer: the background's
  // histogram, and black for the bands the sprites leave dark.
  std::vector<long> weight(256, 0);
  for (uint8_t v : background.pixels) ++weight[v];
  weight[BLACK] += static_cast<long>(background.pixels.size() / 8);

  struct Candidate {
    Rgb colour;
    long weight;
  };
  std::vector<Candidate> wanted;
  for (int c = 0; c < 256; ++c) {
    if (!weight[c]) continue;
    for (int g : glow_indices) wanted.push_back({translucent_blend(palette[g], palette[c]), weight[c]});
  }

  // Blends too near an exact shade colour would take makecol's lookups of
  // that shade away from it: keep clear of them.
  auto near_a_shade = [&palette](Rgb c) {
    for (int i = RED_SHADES.first; i < ORANGE_SHADES.first + ORANGE_SHADES.count; ++i)
      if (distance(shown(palette[i]), c) < 9 * 12 * 12) return true;
    return false;
  };
  std::vector<Rgb> pool;
  std::vector<int> free_slots;
  for (int i = 0; i < 256; ++i) {
    bool glow = std::find(std::begin(glow_indices), std::end(glow_indices), i) != std::end(glow_indices);
    if (i >= PLANET_RAMP.first + PLANET_RAMP.count && !glow)
      free_slots.push_back(i);
    else
      pool.push_back(shown(palette[i]));
  }
  // Greedy: each free entry takes the blend colour that is worst served.
  for (int slot : free_slots) {
    long best_score = -1;
    Rgb best{};
    for (const Candidate &c : wanted) {
      if (near_a_shade(c.colour)) continue;
      int nearest = 1 << 30;
      for (Rgb q : pool) nearest = std::min(nearest, distance(q, c.colour));
      long score = c.weight * static_cast<long>(std::sqrt(double(nearest)));
      if (score > best_score) best_score = score, best = c.colour;
    }
    palette[slot] = best;
    pool.push_back(shown(best));
  }
  keep_shades_reachable(palette);
}

Palette title_palette() {
  Palette p = sprite_block_palette();
  fill_gradient(p, TITLE_SPACE, {{2, 2, 8}, {10, 10, 30}, {24, 22, 60}});
  fill_gradient(p, TITLE_NEBULA, {{14, 6, 30}, {70, 30, 110}, {190, 110, 220}});
  fill_gradient(p, TITLE_PLANET, {{6, 10, 30}, {30, 60, 120}, {100, 170, 230}, {220, 245, 255}});
  fill_gradient(p, TITLE_LOGO, {{60, 0, 0}, {190, 40, 0}, {255, 150, 20}, {255, 230, 110}, {255, 255, 240}});
  fill_gradient(p, Ramp{224, 26}, {{20, 20, 24}, {240, 240, 250}});
  p[TITLE_VERSION_COLOUR] = {255, 255, 255};
  fill_gradient(p, Ramp{251, 5}, {{255, 240, 180}, {255, 255, 230}});
  return p;
}

Palette options_palette() {
  // The screen shows its rows over the depth stars and nothing else, so it
  // keeps no sprite block: no colour stands near the rows' dimmed ones but
  // their dim ramps.
  Palette p{};
  fill_gradient(p, DEPTH_GREYS, {{0, 0, 0}, {255, 255, 255}});
  // The overlay lights the rows from 60/255 of their colour outside the
  // spotlight to 220/255 in its middle, and the light table finds what it
  // makes in the palette: each ramp runs from its top colour at a quarter
  // to the full top colour, so that every light level finds the row's own
  // hue. The labels' top is a near-white gold, as light as a colour can be
  // and still be found gold; the marks are saturated so that they keep
  // their hue.
  fill_gradient(p, OPTION_LABEL, {{64, 60, 41}, {255, 240, 165}});
  fill_gradient(p, OPTION_ON, {{0, 8, 0}, {20, 110, 10}, {70, 220, 40}, {150, 255, 90}});
  fill_gradient(p, OPTION_OFF, {{8, 0, 0}, {120, 10, 5}, {250, 60, 30}, {255, 130, 90}});
  add_dim_ramp(p, OPTION_LABEL, OPTION_LABEL_LOWEST, OPTION_LABEL_DIM);
  add_dim_ramp(p, OPTION_ON, OPTION_MARK_LOWEST, OPTION_ON_DIM);
  add_dim_ramp(p, OPTION_OFF, OPTION_MARK_LOWEST, OPTION_OFF_DIM);
  return p;
}

Palette bonus_palette() {
  Palette p = sprite_block_palette();
  fill_gradient(p, DEPTH_GREYS, {{0, 0, 0}, {255, 255, 255}});
  fill_gradient(p, Ramp{184, 72}, {{4, 4, 16}, {60, 70, 140}, {220, 230, 255}});
  return p;
}

Palette ending_palette() {
  Palette p = sprite_block_palette();
  fill_gradient(p, DEPTH_GREYS, {{0, 0, 0}, {255, 255, 255}});
  fill_gradient(p, ENDING_TITLE, {{60, 0, 0}, {190, 40, 0}, {255, 150, 20}, {255, 230, 110}, {255, 255, 240}});
  // The worlds of the four level groups, lit: a blue world, an olive gas
  // giant, the dying star's amber ember, the pale violet ringed planet.
  fill_gradient(p, ENDING_WORLDS[0], {{4, 10, 32}, {16, 56, 130}, {50, 135, 210}, {170, 225, 255}});
  fill_gradient(p, ENDING_WORLDS[1], {{22, 18, 4}, {88, 82, 34}, {160, 150, 78}, {232, 220, 150}});
  fill_gradient(p, ENDING_WORLDS[2], {{64, 30, 4}, {165, 96, 22}, {240, 170, 62}, {255, 238, 170}});
  fill_gradient(p, ENDING_WORLDS[3], {{26, 14, 44}, {86, 70, 150}, {160, 140, 215}, {230, 215, 255}});
  return p;
}
