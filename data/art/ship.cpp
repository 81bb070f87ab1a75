// The player's ship in its four frames, and its shot.
#include "data/art/art.h"
#include "data/art/canvas.h"

namespace {

// Left half of the level ship, pointing up; the right half is its mirror.
const AnimatedGrid level_ship{
    R"(.......k
       ......kd
       ......kd
       .....kcd
       .....kcC
       .....kcc
       ....kbdc
       ....kbdd
       ..k.kbdd
       .krkbbdd
       .krbbbdd
       krbbbbbd
       krbbkbbd
       kkkk.kbb
       .....kfF
       ......kf)",
    16,
    true,
    {solid('k', BLACK), ink('b', STEEL, 3), ink('d', STEEL, 6), ink('c', CYAN, 4),
     ink('C', CYAN, 7), ink('r', CRIMSON, 5), ink('f', FLAME, 3), ink('F', FLAME, 6)},
    {0},
    {}};

// Banking: the ship leans, the near wing shortens and darkens, the far
// wing lightens. `side` -1 banks left.
Bitmap8 banked(const Bitmap8 &level, int side) {
  Bitmap8 b(level.width, level.height);
  for (int y = 0; y < level.height; ++y)
    for (int x = 0; x < level.width; ++x) {
      int v = level.at(x, y);
      if (!v) continue;
      // Squeeze the near half one pixel towards the middle.
      bool near = side < 0 ? x < 8 : x >= 8;
      int nx = x;
      if (near && (side < 0 ? x < 4 : x > 11)) nx = x - side;
      int shade_shift = near ? -2 : 1;
      int out = v;
      for (const Ramp *r : {&STEEL, &CYAN, &CRIMSON})
        if (v >= r->first && v < r->first + r->count) out = r->at(v - r->first + shade_shift);
      if (!b.at(nx, y) || near) b.set(nx, y, out);
    }
  return b;
}

// The blink frame: the ship's silhouette as a pale cyan outline.
Bitmap8 ghost(const Bitmap8 &level) {
  Bitmap8 b(level.width, level.height);
  for (int y = 0; y < level.height; ++y)
    for (int x = 0; x < level.width; ++x) {
      if (!level.at(x, y) || level.at(x, y) == BLACK) continue;
      bool edge = !level.at(x - 1, y) || level.at(x - 1, y) == BLACK || !level.at(x + 1, y) ||
                  level.at(x + 1, y) == BLACK || !level.at(x, y - 1) || level.at(x, y - 1) == BLACK;
      b.set(x, y, edge ? CYAN.at(7) : CYAN.at(2));
    }
  return b;
}

const AnimatedGrid player_shot{
    R"(...o...
       ..oio..
       .oiwio.
       oiwWwio
       .oiwio.
       ..oio..
       ...o...)",
    7,
    false,
    {ink('o', CYAN, 3, 1), ink('i', CYAN, 5, 1), ink('w', CYAN, 7), solid('W', GREY_SHADES.at(7))},
    {0, 0},
    {0, 1}};

}  // namespace

std::vector<Bitmap8> ship_frames() {
  Bitmap8 level = render_grid(level_ship, 0);
  return {ghost(level), banked(level, -1), level, banked(level, 1)};
}

std::vector<Bitmap8> player_shot_frames() { return {render_grid(player_shot, 0), render_grid(player_shot, 1)}; }
