// Text pictures: the glyph sets, the title menu and the option rows.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/glyphs.h"

#include <algorithm>
#include <string>

namespace {

// The glyph colours of the four level groups and of the bonus screen.
// The glyphs stay in the light half of their ramps, bevel included, and in a
// colour that the kinds of the formation's top row, flying over the score,
// do not wear.
const TextStyle group_text[4] = {{&GOLD, 7, 5, BLACK, 1, 1}, {&CYAN, 7, 5, BLACK, 1, 1},
                                 {&PURPLE, 7, 6, BLACK, 1, 1}, {&GOLD, 7, 5, BLACK, 1, 1}};
const TextStyle bonus_text{&CYAN, 7, 5, BLACK, 1, 1};

const TextStyle menu_normal{&HULL, 5, 2};
const TextStyle menu_lit{&GOLD, 6, 3};
constexpr int MENU_PITCH = 17, MENU_ARROW = 14;

// Option rows: the text, where each picture's top lands, and the line the
// row is centred on. A picture can only reach down from its place, so the
// line lies low enough for every picture of the row; a two-line label puts
// its last line on it, beside the mark.
struct OptionRow {
  const char *lines[2];
  int label_y, off_y, on_y, centre_y;
};
const OptionRow option_rows[5] = {
    {{"GLOW", nullptr}, 20, 17, 25, 42},
    {{"SCROLL", nullptr}, 65, 57, 65, 82},
    {{"MUSIC", nullptr}, 106, 115, 119, 130},
    {{"STARS", nullptr}, 155, 153, 160, 177},
    {{"SHOT COLLISIONS", nullptr}, 192, 208, 211, 222},
};
// Letters in the top of their ramp: dimmed to a quarter by the options
// overlay they must still read.
const TextStyle option_text{&OPTION_LABEL, OPTION_LABEL.level(1.0f) - OPTION_LABEL.first,
                            OPTION_LABEL.level(OPTION_LABEL_LOWEST + 0.1f) - OPTION_LABEL.first};
constexpr int MARK_BOX = 13, MARK_GAP = 4;
// Labels a little narrower than the menu's type, so that the longest,
// "SHOT COLLISIONS", fits one line between its place and its mark.
constexpr float LABEL_WIDTH = 1.375f;
constexpr int LABEL_PITCH = 13;

// `content` with `top` transparent rows above it.
Bitmap8 lowered(const Bitmap8 &content, int top) {
  Bitmap8 b(content.width, content.height + std::max(0, top));
  stamp(b, content, 0, std::max(0, top));
  return b;
}

// A bevelled box, lit from the upper left, holding a tick (on) or a cross.
Bitmap8 check_box(bool on) {
  const Ramp &ramp = on ? OPTION_ON : OPTION_OFF;
  int bright = ramp.level(1.0f), mid = ramp.level(0.75f), shade = ramp.level(OPTION_MARK_LOWEST);
  Bitmap8 b(MARK_BOX, MARK_BOX);
  for (int y = 0; y < MARK_BOX; ++y)
    for (int x = 0; x < MARK_BOX; ++x) {
      bool edge = x == 0 || y == 0 || x == MARK_BOX - 1 || y == MARK_BOX - 1;
      b.set(x, y, edge ? (x + y < MARK_BOX - 1 ? bright : shade) : BLACK);
    }
  static const int tick[][2] = {{3, 6}, {4, 7}, {5, 8}, {6, 7}, {7, 6}, {8, 5}, {9, 4}};
  static const int cross[][2] = {{3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}};
  for (auto [x, y] : on ? tick : cross) {
    b.set(x, y, bright), b.set(x, y + 1, mid);
    if (!on) b.set(MARK_BOX - 1 - x, y, bright), b.set(MARK_BOX - 1 - x, y + 1, mid);
  }
  add_outline(b);
  return b;
}

// The word of a mark, in the upper part of its ramp.
TextStyle mark_text(const Ramp &ramp) {
  return {&ramp, ramp.level(0.85f) - ramp.first, ramp.level(OPTION_MARK_LOWEST + 0.2f) - ramp.first};
}

}  // namespace

std::vector<Bitmap8> level_glyphs(int group) { return glyph_set(group_text[group]); }
std::vector<Bitmap8> bonus_glyphs() { return glyph_set(bonus_text); }

Bitmap8 menu_item(int item, bool highlighted) {
  static const char *const words[3] = {"START", "OPTIONS", "QUIT"};
  Bitmap8 text = render_text(words[item], 2.0f, 2, MENU_PITCH, highlighted ? menu_lit : menu_normal);
  Bitmap8 b(text.width + MENU_ARROW, text.height);
  stamp(b, text, MENU_ARROW, 0);
  if (highlighted) {
    // A pointer in front of the chosen item.
    int mid = text.height / 2;
    for (int x = 0; x < 8; ++x)
      for (int y = mid - (8 - x) / 2; y <= mid + (8 - x) / 2; ++y) b.set(x + 1, y, FLAME.at(7 - x / 2));
    add_outline(b);
  }
  return b;
}

Bitmap8 option_label(int row) {
  const OptionRow &r = option_rows[row];
  std::vector<Bitmap8> lines;
  for (const char *line : r.lines)
    if (line) lines.push_back(render_text(line, LABEL_WIDTH, 2, LABEL_PITCH, option_text));
  int w = 0, h = 0;
  for (const Bitmap8 &l : lines) w = std::max(w, l.width), h += l.height;
  Bitmap8 text(w, h);
  int y = 0;
  for (const Bitmap8 &l : lines) stamp(text, l, 0, y), y += l.height;
  return lowered(text, r.centre_y - r.label_y - (h - lines.back().height / 2));
}

Bitmap8 option_mark(int row, bool on) {
  const OptionRow &r = option_rows[row];
  const Ramp &ramp = on ? OPTION_ON : OPTION_OFF;
  Bitmap8 text = render_text(on ? "ON" : "OFF", 2.0f, 2, MENU_PITCH, mark_text(ramp));
  Bitmap8 box = check_box(on);
  Bitmap8 mark(box.width + MARK_GAP + text.width, std::max(box.height, text.height));
  stamp(mark, box, 0, (mark.height - box.height) / 2);
  stamp(mark, text, box.width + MARK_GAP, (mark.height - text.height) / 2);
  return lowered(mark, r.centre_y - (on ? r.on_y : r.off_y) - mark.height / 2);
}
