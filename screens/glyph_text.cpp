// Placeholder glyph text: draws nothing yet.
#include "screens/glyph_text.h"

const char glyph_order[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/%:.";
DATAFILE *bonus_data = nullptr;

void draw_glyph_text(BITMAP *, int, int, const char *) {}
void draw_bonus_glyph_text(BITMAP *, int, int, const char *) {}
