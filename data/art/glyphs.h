// Text pictures: the 40 glyphs of the glyph sets, and lines of larger text
// (menus, logos) drawn from the same shapes.
#pragma once

#include "data/art/palettes.h"
#include "data/dat_writer.h"

#include <string>
#include <vector>

constexpr int GLYPH_SHAPE_W = 8, GLYPH_SHAPE_H = 10;

// The 8 x 10 shape of glyph k (0..39, glyph order), '#' for ink.
const char *glyph_shape(int k);
// The 9 x 10 heavy shape of a character where thickening the plain one
// would close its counters; null for the others.
constexpr int HEAVY_SHAPE_W = 9;
const char *heavy_glyph_shape(char c);
// Glyph number of a character, -1 when there is none (space and others).
int glyph_of(char c);

// Colour of text: a vertical gradient in a ramp from `top` to `bottom`
// shade, bevelled (edges facing up and left lighter, down and right
// darker), and an outline.
struct TextStyle {
  const Ramp *ramp;
  int top, bottom;
  int outline = BLACK;
  int lit = 2, shadow = 2;  // shades the bevel adds and takes away
};

// One glyph of a glyph set: 11 x 12, the heavy shape and an outline that is
// closed diagonally too.
Bitmap8 render_glyph(int k, const TextStyle &style);
std::vector<Bitmap8> glyph_set(const TextStyle &style);

// A line of text with the shapes scaled by (sx, sy) (sx may be fractional),
// characters `pitch` pixels apart (fractional pitches spread evenly), plus
// the outline.
Bitmap8 render_text(const std::string &text, float sx, int sy, float pitch, const TextStyle &style);
