// Text drawn one picture glyph per character at a 12-pixel pitch. Spaces,
// and characters that have no glyph, take their pitch and draw nothing.
#include "render/glyph_text.h"

#include "frame/catalogue.h"
#include "frame/game_state.h"

#include <cstring>

const char glyph_order[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/%:.";

namespace {

constexpr int pitch = 12;

// Glyph number of a character, or -1 when it has none.
int glyph_number(char ch) {
  if (ch == '\0') return -1;
  const char *at = std::strchr(glyph_order, ch);
  return at ? static_cast<int>(at - glyph_order) : -1;
}

}  // namespace

void draw_glyphs_of(DATAFILE *set, int first_glyph, BITMAP *bitmap, int x, int y,
                    const char *text) {
  if (!set) return;
  for (int i = 0; text[i] != '\0'; ++i) {
    int k = glyph_number(text[i]);
    if (k >= 0) draw_sprite(bitmap, dat_bitmap(set, first_glyph + k), x + pitch * i, y);
  }
}

void draw_glyph_text(BITMAP *bitmap, int x, int y, const char *text) {
  draw_glyphs_of(level_data, level_object::GLYPHS, bitmap, x, y, text);
}
