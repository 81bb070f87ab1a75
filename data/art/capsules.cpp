// The nine bonus capsules (12 x 12, they spin as they fall) and the bonus
// screen's icons (16 x 16), drawn alike so that the screen teaches the
// capsules. Every capsule is a disc in one code: a dark outline all round,
// closed even diagonally so that it stays closed when the disc is turned,
// then a rim two pixels wide and a face with a symbol in two-pixel strokes.
// Helpful bonuses are bright coins of their own colour, none of them the
// colour of any set's enemy shots nor the brown of the shield rocks, with a
// lighter rim and a dark symbol; the two hostile ones turn that round: a
// rim striped in warning gold and black, a dark red face, a white symbol.
#include "data/art/art.h"
#include "data/art/canvas.h"

#include <cmath>
#include <string>

namespace {

struct BonusLook {
  const Ramp *ramp;  // rim, face and symbol; null for the hostile stripes
  int rim_lit, rim_shaded, face;
  // The symbol, '#' ink: 6 x 6 on the capsule, drawn again 8 x 8 for the
  // larger icon.
  const char *capsule_symbol, *icon_symbol;
};

// In capsule order: speed, rock shield, firepower, weapon, time freeze,
// score, big score, reverse control, ship degrader.
const BonusLook looks[9] = {
    // chevrons pointing ahead: speed
    {&HULL, 6, 5, 4,
     R"(..##..
        .####.
        ##..##
        ..##..
        .####.
        ##..##)",
     R"(...##...
        ..####..
        .##..##.
        ##....##
        ...##...
        ..####..
        .##..##.
        ##....##)"},
    // a shield, flat along the top
    {&TEAL, 6, 5, 4,
     R"(######
        ######
        ##..##
        ##..##
        .####.
        ..##..)",
     R"(########
        ########
        ##....##
        ##....##
        ##....##
        .##..##.
        ..####..
        ...##...)"},
    // F: firepower
    {&FLAME, 5, 4, 3,
     R"(######
        ######
        ##....
        #####.
        ##....
        ##....)",
     R"(########
        ########
        ##......
        ##......
        ######..
        ######..
        ##......
        ##......)"},
    // a fork, shots spreading: weapon
    {&GREY_SHADES, 7, 6, 5,
     R"(##..##
        ##..##
        .####.
        ..##..
        ..##..
        ..##..)",
     R"(##....##
        ##....##
        ##....##
        .##..##.
        ..####..
        ...##...
        ...##...
        ...##...)"},
    // the two bars of a pause: time freeze
    {&CYAN, 6, 5, 4,
     R"(##..##
        ##..##
        ##..##
        ##..##
        ##..##
        ##..##)",
     R"(.##..##.
        .##..##.
        .##..##.
        .##..##.
        .##..##.
        .##..##.
        .##..##.
        .##..##.)"},
    // plus: score
    {&GOLD, 6, 5, 4,
     R"(..##..
        ..##..
        ######
        ######
        ..##..
        ..##..)",
     R"(...##...
        ...##...
        ...##...
        ########
        ########
        ...##...
        ...##...
        ...##...)"},
    // a gem: big score
    {&GOLD, 6, 5, 4,
     R"(..##..
        .####.
        ######
        ######
        .####.
        ..##..)",
     R"(...##...
        ..####..
        .######.
        ########
        ########
        .######.
        ..####..
        ...##...)"},
    // a two-headed arrow: reverse control
    {nullptr, 0, 0, 1,
     R"(......
        .#..#.
        ######
        ######
        .#..#.
        ......)",
     R"(........
        ..#..#..
        .##..##.
        ########
        ########
        .##..##.
        ..#..#..
        ........)"},
    // minus, against the score's plus: ship degrader
    {nullptr, 0, 0, 1,
     R"(......
        ......
        ######
        ######
        ......
        ......)",
     R"(........
        ........
        ........
        ########
        ########
        ........
        ........
        ........)"},
};

// How many steps a pixel of the disc lies in from its edge, counting
// diagonal steps too: 0 on the outline, 1 and 2 on the rim, then the face.
int depth(const Bitmap8 &disc, int x, int y) {
  for (int d = 0;; ++d)
    for (int j = -d - 1; j <= d + 1; ++j)
      for (int i = -d - 1; i <= d + 1; ++i)
        if (!disc.at(x + i, y + j)) return d;
}

Bitmap8 bonus_picture(int bonus, int size) {
  const BonusLook &look = looks[bonus];
  Bitmap8 disc(size, size);
  float c = size / 2.0f;
  fill_ellipse(disc, c, c, c - 0.05f, c - 0.05f, 1);
  Bitmap8 b(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (!disc.at(x, y)) continue;
      int d = depth(disc, x, y);
      float dx = x + 0.5f - c, dy = y + 0.5f - c;
      int v;
      if (d == 0) {
        v = BLACK;
      } else if (d <= 2 && !look.ramp) {
        // Warning stripes, slanting like hazard tape.
        v = (x + y) / 2 % 2 ? GOLD.at(5) : BLACK;
      } else if (d <= 2) {
        // Lit from the upper left.
        v = look.ramp->at(dx + dy < 0.0f ? look.rim_lit : look.rim_shaded);
      } else {
        v = look.ramp ? look.ramp->at(look.face) : CRIMSON.at(look.face);
      }
      b.set(x, y, v);
    }
  std::vector<std::string> rows = grid_rows(size < 16 ? look.capsule_symbol : look.icon_symbol);
  int symbol = int(rows.size()), left = (size - symbol) / 2;
  int ink = look.ramp ? look.ramp->at(0) : GREY_SHADES.at(7);
  for (int y = 0; y < symbol; ++y)
    for (int x = 0; x < symbol; ++x)
      if (rows[y][x] == '#') b.set(left + x, left + y, ink);
  return b;
}

}  // namespace

Bitmap8 capsule_sprite(int bonus) { return bonus_picture(bonus, 12); }
Bitmap8 bonus_icon(int bonus) { return bonus_picture(bonus, 16); }
