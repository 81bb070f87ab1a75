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

// Banking: the ship rolls, so the near wing (left when banking left)
// foreshortens by two pixels and falls into shadow while the far wing
// catches the light. `side` -1 banks left.
Bitmap8 banked(const Bitmap8 &level, int side) {
  Bitmap8 left_first(level.width, level.height);
  const Bitmap8 source = side < 0 ? level : mirror_x(level);
  for (int y = 0; y < level.height; ++y)
    for (int x = 0; x < level.width; ++x) {
      bool near = x < 8;
      // Near half: columns 2..7 show source columns 0..7.
      int from = near ? (x < 2 ? -1 : (x - 2) * 7 / 5) : x;
      int v = from < 0 ? 0 : source.at(from, y);
      if (!v) continue;
      int shift = near ? -2 : 1;
      for (const Ramp *r : {&STEEL, &CYAN, &CRIMSON})
        if (v >= r->first && v < r->first + r->count) v = r->at(v - r->first + shift);
      left_first.set(x, y, v);
    }
  return side < 0 ? left_first : mirror_x(left_first);
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
