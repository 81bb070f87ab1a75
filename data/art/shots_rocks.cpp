// Enemy shots of the four groups, and the shield rocks.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/noise.h"

#include "world/enemy_kinds.h"

#include <algorithm>
#include <cmath>

namespace {

// Two frames per shot, each a grid: 'W' the near-white core, 'h' the hot
// part round it, 'm' the body and 'o' the rim. Every shot burns white in the
// middle; its rim and body take a colour that neither the set's enemies nor
// its background wear, so a shot never passes for a part of either. Enemy
// shots fall, so the hot head is at the bottom and the tail flickers above.
struct ShotLook {
  Paint rim, body, hot;
  const char *frames[2];
};
const ShotLook shot_looks[4] = {
    // levels 1-3: green venom drops, 5 x 7, among gold wasps and red beetles
    {ink('o', LIME, 4), ink('m', LIME, 5), ink('h', LIME, 7),
     {R"(..o..
         .oo..
         .omo.
         omhmo
         mhWhm
         mhWhm
         omhmo)",
      R"(..o..
         ..oo.
         .omo.
         omhmo
         mhWhm
         mhWhm
         omhmo)"}},
    // levels 4-6: magenta spores, 6 x 6, among teal mines and orange crabs
    {ink('o', MAGENTA, 4), ink('m', MAGENTA, 6), ink('h', MAGENTA, 7),
     {R"(.o..o.
         ommmmo
         .mhhm.
         .mhWm.
         ommmmo
         .o..o.)",
      R"(..oo..
         .mmmm.
         omhhmo
         omhWmo
         .mmmm.
         ..oo..)"}},
    // levels 7-9: green sparks, 4 x 4, among pink jellyfish and gold moths
    {ink('o', LIME, 4), ink('m', LIME, 5), ink('h', LIME, 7),
     {R"(.mo.
         mWho
         ohWm
         .om.)",
      R"(o.mo
         .Wh.
         .hW.
         om.o)"}},
    // levels 10-12: fireballs, 8 x 8, red at the rim and white hot inside,
    // among gold blades and grey motherships
    {ink('o', CRIMSON, 3), ink('m', FLAME, 6), ink('h', FLAME, 7),
     {R"(..oooo..
         .ommmmo.
         ommhhmmo
         omhWWhmo
         omhWWhmo
         ommhhmmo
         .ommmmo.
         ..oooo..)",
      R"(..o.oo..
         .oommmo.
         ommhhmmo
         omhWWhmo
         omhWWhmm
         ommhhmoo
         .ommmmo.
         ..oo.o..)"}},
};

}  // namespace

std::vector<Bitmap8> enemy_shot_frames(int group) {
  const ShotLook &look = shot_looks[group];
  const ShotSize size = enemy_shot_sizes[group];
  std::vector<Bitmap8> frames;
  for (const char *grid : look.frames) {
    AnimatedGrid g{grid, size.width, false, {look.rim, look.body, look.hot, solid('W', GREY_SHADES.at(7))}, {0}, {}};
    frames.push_back(render_grid(g, 0));
    if (frames.back().height != size.height) art_error("enemy shot drawn at the wrong height");
  }
  return frames;
}

namespace {

// The rock is cut into facets round a few seeds; each facet leans its own
// way and takes the light from the upper left by that lean, with dark
// crevices where facets meet.
struct Facet {
  float x, y, lean_x, lean_y;
};
const Facet facets[9] = {{5, 6, -0.7f, -0.5f},  {11, 3, -0.2f, -0.8f}, {19, 3, 0.3f, -0.8f},
                         {25, 6, 0.8f, -0.4f},  {9, 10, -0.4f, 0.1f},  {16, 8, 0.0f, -0.1f},
                         {22, 10, 0.4f, 0.2f},  {6, 13, -0.5f, 0.7f},  {20, 14, 0.3f, 0.8f}};

// One chunk knocked off per hit, with the cracks it leaves; the fourth hit
// splits what is left down the middle.
struct Chip {
  float x, y, r;
  int crack[4];
};
const Chip chips[4] = {{27.5f, 2.0f, 5.5f, {23, 4, 19, 9}},
                       {2.0f, 14.5f, 5.5f, {5, 11, 10, 8}},
                       {11.0f, 0.5f, 5.0f, {12, 4, 14, 9}},
                       {19.0f, 16.5f, 5.0f, {17, 12, 15, 5}}};

bool inside_rock(int x, int y) {
  float nx = (x + 0.5f - 15.0f) / 14.6f, ny = (y + 0.5f - 8.3f) / 7.7f;
  float bump = fractal_noise(x * 0.3f, y * 0.3f, 2, 77) - 0.5f;
  return nx * nx + ny * ny + bump * 0.45f <= 1.0f;
}

bool chipped(int x, int y, int damage) {
  for (int k = 0; k < damage; ++k) {
    float dx = x + 0.5f - chips[k].x, dy = y + 0.5f - chips[k].y;
    if (dx * dx + dy * dy < chips[k].r * chips[k].r) return true;
  }
  // The last hit splits the rock: a gap runs from the top chip down.
  return damage >= 4 && (x == 15 || (x == 14 && y < 8) || (x == 16 && y >= 8));
}

// Shade of a rock pixel: the facet's light, a grain, a crevice darkening.
int rock_shade(int x, int y) {
  float best = 1e9f, second = 1e9f;
  int nearest = 0;
  for (int f = 0; f < 9; ++f) {
    float dx = x - facets[f].x, dy = (y - facets[f].y) * 1.6f;
    float d = dx * dx + dy * dy;
    if (d < best) second = best, best = d, nearest = f;
    else if (d < second) second = d;
  }
  float light = dome_light(facets[nearest].lean_x, facets[nearest].lean_y);
  float grain = fractal_noise(x * 0.7f, y * 0.7f, 2, 91) - 0.5f;
  int shade = int(std::lround(light * 7.0f + grain * 1.5f));
  if (std::sqrt(second) - std::sqrt(best) < 0.9f) shade = std::min(shade - 2, 2);
  return shade;
}

}  // namespace

std::vector<Bitmap8> shield_rock_frames() {
  std::vector<Bitmap8> frames;
  for (int damage = 0; damage < 5; ++damage) {
    Bitmap8 b(30, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 30; ++x)
        if (inside_rock(x, y) && !chipped(x, y, damage)) b.set(x, y, BROWN.at(rock_shade(x, y)));
    // Fresh breaks are pale where they face the light, and cracks run in.
    for (int k = 0; k < damage; ++k) {
      const int *c = chips[k].crack;
      draw_line(b, c[0], c[1], c[2], c[3], BLACK);
    }
    Bitmap8 cracked = b;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 30; ++x)
        if (b.at(x, y) > BLACK && (!cracked.at(x + 1, y) || !cracked.at(x, y + 1)) && chipped(x + 1, y + 1, damage))
          b.set(x, y, BROWN.at(7));
    // Lines drawn past the rock's edge are wiped again.
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 30; ++x)
        if (!inside_rock(x, y) || chipped(x, y, damage)) b.set(x, y, TRANSPARENT);
    add_outline(b);
    frames.push_back(b);
  }
  return frames;
}
