// The nine bonus capsules (12 x 12, they spin as they fall) and the bonus
// screen's icons (16 x 16): a coloured shell with the bonus's symbol.
#include "data/art/art.h"
#include "data/art/canvas.h"

namespace {

struct BonusLook {
  const Ramp *shell;
  const char *symbol;  // 6 x 6, '#' bright ink
};

// In capsule order: speed, rock shield, firepower, weapon, time freeze,
// score, big score, reverse control, ship degrader.
const BonusLook looks[9] = {
    {&LIME, R"(..##..
               .####.
               ##..##
               ..##..
               .####.
               ##..##)"},  // double chevron: faster
    {&BROWN, R"(######
                #.##.#
                ######
                ######
                .####.
                ..##..)"},  // shield
    {&FLAME, R"(..#...
                .##.#.
                .####.
                ######
                ##.###
                .####.)"},  // flame
    {&STEEL, R"(#.##.#
                #.##.#
                #.##.#
                ......
                #.##.#
                #.##.#)"},  // three shots
    {&CYAN, R"(#.##.#
               .####.
               ##..##
               ##..##
               .####.
               #.##.#)"},  // snowflake
    {&GOLD, R"(..##..
               ..##..
               ######
               ######
               ..##..
               ..##..)"},  // plus
    {&PURPLE, R"(..##..
                 ..##..
                 ######
                 .####.
                 .####.
                 ##..##)"},  // star
    {&MAGENTA, R"(.#..#.
                  ##..##
                  ######
                  ######
                  ##..##
                  .#..#.)"},  // arrows both ways
    {&CRIMSON, R"(.####.
                  ##.#.#
                  ######
                  .####.
                  .#.#..
                  ......)"},  // skull
};

Bitmap8 bonus_picture(int bonus, int size, int scale) {
  const BonusLook &look = looks[bonus];
  Bitmap8 b(size, size);
  float c = size / 2.0f;
  shaded_ellipse(b, c, c, c - 0.5f, c - 0.5f, *look.shell, 1, 7);
  fill_ellipse(b, c, c, c - 2.0f, c - 2.0f, look.shell->at(1));
  std::vector<std::string> rows = grid_rows(look.symbol);
  int left = (size - 6 * scale) / 2;
  for (int y = 0; y < 6 * scale; ++y)
    for (int x = 0; x < 6 * scale; ++x)
      if (rows[y / scale][x / scale] == '#') b.set(left + x, left + y, look.shell->at(7));
  add_outline(b);
  return b;
}

}  // namespace

Bitmap8 capsule_sprite(int bonus) { return bonus_picture(bonus, 12, 1); }
Bitmap8 bonus_icon(int bonus) { return bonus_picture(bonus, 16, 2); }
