// The nine bonus capsules (12 x 12, they spin as they fall) and the bonus
// screen's icons (16 x 16). Helpful bonuses are round, lit capsules in their
// own colour with a bright symbol or letter; the two hostile ones are
// octagons of dark red with a striped warning rim and a yellow symbol.
#include "data/art/art.h"
#include "data/art/canvas.h"

#include <cmath>
#include <string>

namespace {

struct BonusLook {
  const Ramp *shell;
  bool hostile;
  const char *symbol;  // 7 x 7, '#' ink
};

// In capsule order: speed, rock shield, firepower, weapon, time freeze,
// score, big score, reverse control, ship degrader.
const BonusLook looks[9] = {
    {&LIME, false, R"(.#####.
                      ##...##
                      ##.....
                      .#####.
                      .....##
                      ##...##
                      .#####.)"},  // S: speed
    {&BROWN, false, R"(#######
                       #######
                       ##...##
                       ##...##
                       .##.##.
                       ..###..
                       ...#...)"},  // a shield
    {&FLAME, false, R"(#######
                       ##.....
                       ##.....
                       ######.
                       ##.....
                       ##.....
                       ##.....)"},  // F: firepower
    {&HULL, false, R"(##...##
                       ##...##
                       ##.#.##
                       ##.#.##
                       #######
                       ###.###
                       .#...#.)"},  // W: weapon
    {&CYAN, false, R"(#..#..#
                      .#.#.#.
                      ..###..
                      #######
                      ..###..
                      .#.#.#.
                      #..#..#)"},  // a snowflake: time freeze
    {&GOLD, false, R"(..###..
                      ..###..
                      #######
                      #######
                      #######
                      ..###..
                      ..###..)"},  // plus: score
    {&PURPLE, false, R"(...#...
                        ..###..
                        #######
                        .#####.
                        ..###..
                        .##.##.
                        .#...#.)"},  // a star: big score
    {&CRIMSON, true, R"(..#....
                        .######
                        ..#....
                        .......
                        ....#..
                        ######.
                        ....#..)"},  // arrows both ways: reverse control
    {&CRIMSON, true, R"(.#####.
                        #######
                        #..#..#
                        #######
                        .##.##.
                        .#.#.#.
                        .......)"},  // a skull: ship degrader
};

constexpr int SYMBOL = 7;

void helpful_shell(Bitmap8 &b, const Ramp &ramp) {
  float c = b.width / 2.0f;
  shaded_ellipse(b, c, c, c - 0.5f, c - 0.5f, ramp, 1, 6);
}

// An octagon with its corners cut, dark red, and a rim striped in warning
// yellow and black.
void hostile_shell(Bitmap8 &b) {
  int n = b.width, cut = n / 4;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      int corner = std::min(std::min(x, n - 1 - x) + std::min(y, n - 1 - y), n);
      if (corner < cut) continue;
      bool rim = x == 0 || y == 0 || x == n - 1 || y == n - 1 || corner == cut;
      int stripe = ((x + y) / 2) % 2;
      b.set(x, y, rim ? (stripe ? GOLD.at(6) : BLACK) : CRIMSON.at(1 + (x + y < n ? 1 : 0)));
    }
}

Bitmap8 bonus_picture(int bonus, int size) {
  const BonusLook &look = looks[bonus];
  Bitmap8 b(size, size);
  if (look.hostile)
    hostile_shell(b);
  else
    helpful_shell(b, *look.shell);
  std::vector<std::string> rows = grid_rows(look.symbol);
  int left = (size - SYMBOL) / 2, top = (size - SYMBOL) / 2;
  int ink = look.hostile ? GOLD.at(7) : look.shell->at(7);
  // A dark drop shadow under the symbol to the lower right, then the symbol.
  for (int y = 0; y < SYMBOL; ++y)
    for (int x = 0; x < SYMBOL; ++x)
      if (rows[y][x] == '#') b.set(left + x + 1, top + y + 1, look.hostile ? BLACK : look.shell->at(0));
  for (int y = 0; y < SYMBOL; ++y)
    for (int x = 0; x < SYMBOL; ++x)
      if (rows[y][x] == '#') b.set(left + x, top + y, ink);
  add_outline(b);
  return b;
}

}  // namespace

Bitmap8 capsule_sprite(int bonus) { return bonus_picture(bonus, 12); }
Bitmap8 bonus_icon(int bonus) { return bonus_picture(bonus, 16); }
