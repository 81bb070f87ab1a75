// Large text drawn from picture glyphs, 12 pixels per character.
#pragma once

#include <allegro.h>

// The characters that have glyphs; a character's position is its number.
extern const char glyph_order[];

// With the glyphs of the current level datafile (objects 35 to 74).
void draw_glyph_text(BITMAP *bitmap, int x, int y, const char *text);
// With the glyphs of a datafile's set from object first_glyph on; nothing
// while the datafile is not loaded.
void draw_glyphs_of(DATAFILE *set, int first_glyph, BITMAP *bitmap, int x, int y,
                    const char *text);
