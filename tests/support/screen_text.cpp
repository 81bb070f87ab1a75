#include "tests/support/screen_text.h"

#include "render/glyph_text.h"

bool shows_text(BITMAP *picture, int x, int y, const char *text, int hidden_allowed) {
  BITMAP *scratch = create_bitmap(picture->w, picture->h);
  clear(scratch);
  draw_glyph_text(scratch, x, y, text);
  int set = 0, wrong = 0;
  for (int py = 0; py < scratch->h; ++py)
    for (int px = 0; px < scratch->w; ++px) {
      int c = getpixel(scratch, px, py);
      if (c == 0) continue;
      ++set;
      if (getpixel(picture, px, py) != c) ++wrong;
    }
  destroy_bitmap(scratch);
  return set > 0 && wrong <= hidden_allowed;
}
