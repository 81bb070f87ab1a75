// The bonus information screen of the attract cycle: the nine capsules with
// their names and the extra-life rule, over the depth stars.
#pragma once

#include <allegro.h>

// "bonus.dat", held while the bonus information screen runs.
extern DATAFILE *bonus_data;

void show_bonus_screen();
void draw_bonus_list(BITMAP *bitmap);
// With the glyphs of "bonus.dat" (objects 9 to 48), while it is loaded.
void draw_bonus_glyph_text(BITMAP *bitmap, int x, int y, const char *text);
