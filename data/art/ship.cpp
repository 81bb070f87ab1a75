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

// Columns of the wings that vanish when the ship rolls that way: the wing
// on the inside of the turn dips and looks two pixels shorter.
constexpr int left_wing_dropped[2] = {2, 4};
constexpr int right_wing_dropped[2] = {13, 11};

// Hull shades one step brighter (the ship rolls towards the light, left)
// or darker (away from it, right).
char relit(char c, int step) {
  if (c < '1' || c > '7') return c;
  return char(std::max('1', std::min('7', char(c + step))));
}

std::string banked_grid(int side) {
  std::vector<std::string> rows = grid_rows(level_ship);
  const int *dropped = side < 0 ? left_wing_dropped : right_wing_dropped;
  std::string grid;
  for (std::string row : rows) {
    // Take out the inner column first so the outer one keeps its place.
    for (int k = 1; k >= 0; --k) row.erase(size_t(side < 0 ? dropped[k] : dropped[1 - k]), 1);
    row = side < 0 ? ".." + row : row + "..";
    for (char &c : row) c = relit(c, -side);
    grid += row + "\n";
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

// The blink frame while the ship reappears: its silhouette beamed in, pale
// cyan with every other row lit like a scan line.
Bitmap8 beaming_in(const Bitmap8 &level) {
  Bitmap8 b(level.width, level.height);
  for (int y = 0; y < level.height; ++y)
    for (int x = 0; x < level.width; ++x) {
      int v = level.at(x, y);
      if (!v) continue;
      b.set(x, y, v == BLACK ? CYAN.at(4) : (y % 2 ? CYAN.at(6) : CYAN.at(7)));
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
  return {beaming_in(level), ship_picture(banked_grid(-1)), level, ship_picture(banked_grid(1))};
}

Bitmap8 large_ship() {
  Bitmap8 b = scale2x(hull(level_ship));
  add_outline(b);
  return b;
}

std::vector<Bitmap8> player_shot_frames() { return {render_grid(player_shot, 0), render_grid(player_shot, 1)}; }
