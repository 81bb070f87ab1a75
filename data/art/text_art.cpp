// Text pictures: the glyph sets, the title menu and the option rows.
#include "data/art/art.h"
#include "data/art/canvas.h"
#include "data/art/glyphs.h"

#include <algorithm>
#include <string>

namespace {

// The glyph colours of the four level groups and of the bonus screen.
const TextStyle group_text[4] = {{&GOLD, 5, 3}, {&LIME, 5, 3}, {&FLAME, 6, 3}, {&MAGENTA, 5, 3}};
const TextStyle bonus_text{&CYAN, 5, 3};

const TextStyle menu_normal{&STEEL, 5, 2};
const TextStyle menu_lit{&GOLD, 6, 3};
constexpr int MENU_PITCH = 17, MENU_ARROW = 14;

// Option rows: the text and where the spotlight centre of the row lies.
struct OptionRow {
  const char *lines[2];
  int label_y, off_y, on_y, centre_y;
};
const OptionRow option_rows[5] = {
    {{"GLOW", nullptr}, 20, 17, 25, 42},
    {{"SCROLL", nullptr}, 65, 57, 65, 82},
    {{"MUSIC", nullptr}, 106, 115, 119, 122},
    {{"STARS", nullptr}, 155, 153, 160, 177},
    {{"SHOT", "COLLISIONS"}, 192, 208, 211, 215},
};

// A picture `height` high with `content` centred in it vertically (or at
// the top when it does not fit).
Bitmap8 centred_in_height(const Bitmap8 &content, int height) {
  Bitmap8 b(content.width, std::max(height, content.height));
  stamp(b, content, 0, std::max(0, (height - content.height) / 2));
  return b;
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
  const TextStyle style{&OPTION_LABEL, 31, 12};
  std::vector<Bitmap8> lines;
  for (const char *line : r.lines)
    if (line) lines.push_back(render_text(line, 2.0f, 2, MENU_PITCH, style));
  int w = 0, h = 0;
  for (const Bitmap8 &l : lines) w = std::max(w, l.width), h += l.height;
  Bitmap8 text(w, h);
  int y = 0;
  for (const Bitmap8 &l : lines) stamp(text, l, 0, y), y += l.height;
  return centred_in_height(text, 2 * (r.centre_y - r.label_y));
}

Bitmap8 option_mark(int row, bool on) {
  const OptionRow &r = option_rows[row];
  const Ramp &ramp = on ? OPTION_ON : OPTION_OFF;
  Bitmap8 text = render_text(on ? "ON" : "OFF", 2.0f, 2, MENU_PITCH, {&ramp, 15, 6});
  Bitmap8 mark(text.width + 16, text.height);
  // A lamp: lit when on, dark when off.
  shaded_ellipse(mark, 6.0f, text.height / 2.0f, 5.5f, 5.5f, ramp, on ? 6 : 1, on ? 15 : 6);
  add_outline(mark);
  stamp(mark, text, 16, 0);
  int y = on ? r.on_y : r.off_y;
  return centred_in_height(mark, 2 * (r.centre_y - y));
}
