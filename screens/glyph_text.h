// Large text drawn from picture glyphs, 12 pixels per character.
#pragma once

#include <allegro.h>

// The characters that have glyphs; a character's position is its number.
extern const char glyph_order[];

// "bonus.dat", held while the bonus information screen runs.
extern DATAFILE *bonus_data;

// With the glyphs of the current level datafile (objects 35 to 74).
void draw_glyph_text(BITMAP *bitmap, int x, int y, const char *text);
// With the glyphs of "bonus.dat" (objects 9 to 48), while it is loaded.
void draw_bonus_glyph_text(BITMAP *bitmap, int x, int y, const char *text);
