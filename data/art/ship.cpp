// The player's ship in its four frames, and its shot. The banking frames
// are made from the level one without mirroring, so that the light stays
// on the upper left whichever way the ship rolls.
#include "data/art/art.h"
#include "data/art/canvas.h"

#include <string>

namespace {

// Digits are hull shades (steel), letters the canopy (cyan), the wing tips
// (crimson) and the engine (flame). The wings meet the fuselage in a crease
// (shade 4 on the lit side, 1 on the shaded side); the outline is added.
const std::vector<Paint> ship_legend{
    ink('1', HULL, 1), ink('2', HULL, 2), ink('3', HULL, 3), ink('4', HULL, 4),
    ink('5', HULL, 5), ink('6', HULL, 6), ink('7', HULL, 7), ink('a', CYAN, 3),
    ink('b', CYAN, 5), ink('C', CYAN, 7), ink('r', CRIMSON, 3), ink('R', CRIMSON, 5),
    ink('e', FLAME, 3), ink('f', FLAME, 5), ink('F', FLAME, 7), solid('k', BLACK)};

const char *const level_ship = R"(
    ................
    .......75.......
    .......64.......
    ......7Cb3......
    ......6Cb3......
    .....76ba32.....
    .....65aa32.....
    ....76654323....
    ...7646543134...
    ..766465431334..
    .7R6546543132r3.
    .6R5545443122r2.
    .5R4..4432..2r1.
    .4R...2ee1...r1.
    ......1fF1......
    .......Ff.......)";

// Hull shades one step brighter (the ship rolls towards the light, left)
// or darker (away from it, right).
char relit(char c, int step) {
  if (c < '1' || c > '7') return c;
  return char(std::max('1', std::min('7', char(c + step))));
}

// Banking: the ship rolls about its length. The wing on the inside of the
// turn dips away and looks two columns shorter (its middle columns go), the
// nose and canopy, standing above the wings, swing a column towards the
// turn, and the rising wing's root shows a column wider. Made from the level
// ship column by column, without mirroring, so that the light stays on the
// upper left.
std::string banked_grid(int side) {
  // Source columns of the level ship for each column of the banked one.
  static const int left[16] = {-1, 0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 11, 12, 13, 14, 15};
  static const int right[16] = {0, 1, 2, 3, 4, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, -1};
  const int *from = side < 0 ? left : right;
  std::string grid;
  for (const std::string &row : grid_rows(level_ship)) {
    for (int x = 0; x < 16; ++x) grid += from[x] < 0 ? '.' : relit(row[size_t(from[x])], -side);
    grid += "\n";
  }
  return grid;
}

Bitmap8 hull(const std::string &grid) {
  return render_grid(AnimatedGrid{grid.c_str(), 16, false, ship_legend, {0}, {}}, 0);
}

Bitmap8 ship_picture(const std::string &grid) {
  Bitmap8 b = hull(grid);
  add_outline(b);
  return b;
}

// The blink frame while the ship reappears: the level ship flashed bright,
// its outline kept, so that the blink shows the same ship: hull white where
// it is lit and pale blue where it is shaded, the canopy and engine pale.
Bitmap8 flashed(const Bitmap8 &level) {
  Bitmap8 b = level;
  for (uint8_t &v : b.pixels) {
    if (v <= BLACK) continue;
    const Ramp *ramp = ramp_of(v);
    if (ramp == &HULL) v = uint8_t(v >= HULL.at(4) ? GREY_SHADES.at(7) : HULL.at(7));
    else if (ramp) v = uint8_t(ramp->at(7));
  }
  return b;
}

// The player's shot: a bolt of light flying up, its tail flickering.
const AnimatedGrid player_shot{
    R"(...o...
       ..iwi..
       ..wWw..
       s.iwi.s
       ..oio..
       ...T...
       ...t...)",
    7,
    false,
    {ink('o', CYAN, 3), ink('i', CYAN, 5, 1), ink('w', CYAN, 7), solid('W', GREY_SHADES.at(7)),
     ink('s', CYAN, 4, 0, 1), ink('T', CYAN, 5, 0, 0), ink('t', CYAN, 2, 0, 0)},
    {0, 1},
    {0, 1}};

}  // namespace

std::vector<Bitmap8> ship_frames() {
  Bitmap8 level = ship_picture(level_ship);
  return {flashed(level), ship_picture(banked_grid(-1)), level, ship_picture(banked_grid(1))};
}

Bitmap8 large_ship() {
  Bitmap8 b = scale2x(hull(level_ship));
  add_outline(b);
  return b;
}

std::vector<Bitmap8> player_shot_frames() { return {render_grid(player_shot, 0), render_grid(player_shot, 1)}; }
