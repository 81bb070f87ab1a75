// Reading glyph text back from a picture: whether a text, drawn with the
// current glyphs at (x, y), is what the picture shows there.
#pragma once

#include <allegro.h>

// True when every pixel the text's glyphs would set has that colour in the
// picture (a few may be hidden by stars drawn over the text).
bool shows_text(BITMAP *picture, int x, int y, const char *text, int hidden_allowed = 4);
