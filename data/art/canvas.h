// Painting sprites: pixel-art text grids with a legend, mirrored halves,
// animation phases and pulsing lights; shaded shapes; outlines.
#pragma once

#include "data/art/palettes.h"
#include "data/dat_writer.h"

#include <string>
#include <vector>

// What one grid character paints. `ramp`/`shade` pick the colour (a null
// ramp paints `index`); `pulse` adds pulse_of_frame times this many shades;
// a `phase` of 0 or more paints only in the frames of that phase.
struct Paint {
  char symbol;
  const Ramp *ramp = nullptr;
  int shade = 0;
  int index = TRANSPARENT;
  int pulse = 0;
  int phase = -1;
};

inline Paint ink(char symbol, const Ramp &ramp, int shade, int pulse = 0, int phase = -1) {
  return Paint{symbol, &ramp, shade, 0, pulse, phase};
}
inline Paint solid(char symbol, int index, int phase = -1) {
  return Paint{symbol, nullptr, 0, index, 0, phase};
}

// A grid drawn over several frames. With `mirror` the grid is the left half
// (for odd widths including the middle column) and the right is its mirror.
struct AnimatedGrid {
  const char *grid;
  int width;  // of the finished sprite
  bool mirror;
  std::vector<Paint> legend;
  std::vector<int> phase_of_frame;  // one entry per frame
  std::vector<int> pulse_of_frame;  // shade offsets per frame (empty: none)
};

// Rows of a grid text: lines without the leading and trailing blank lines.
std::vector<std::string> grid_rows(const char *grid);

// Paints one frame of an animated grid; the generator stops with a message
// when a grid's rows do not match its width or a symbol has no paint.
Bitmap8 render_grid(const AnimatedGrid &sprite, int frame);
inline int frame_count(const AnimatedGrid &sprite) { return int(sprite.phase_of_frame.size()); }

// A black line around everything drawn (4-neighbours), for legibility.
void add_outline(Bitmap8 &b, int index = BLACK);
// The same closed diagonally too (8-neighbours): no drawn pixel touches the
// transparent, so the line stays closed when the sprite is turned or
// overlaps something.
void add_full_outline(Bitmap8 &b, int index = BLACK);
Bitmap8 mirror_x(const Bitmap8 &b);
// Copies the non-transparent pixels of `src` onto `dst` at (x, y).
void stamp(Bitmap8 &dst, const Bitmap8 &src, int x, int y);

// Light from the upper left: brightness 0..1 of a point on a dome whose
// normal has the given x and y parts (each -1..1).
float dome_light(float nx, float ny);

// Filled ellipse, each pixel shaded like a dome in the ramp between the
// shades `dark` and `bright`.
void shaded_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, const Ramp &ramp,
                    int dark, int bright);
void fill_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, int index);
// The same turned by `angle` (radians, clockwise on screen); the light
// still comes from the upper left of the screen.
void shaded_turned_ellipse(Bitmap8 &b, float cx, float cy, float rx, float ry, float angle,
                           const Ramp &ramp, int dark, int bright);

// The ramp of the sprite block that holds a palette index (null for none),
// and an index moved `step` shades along its ramp.
const Ramp *ramp_of(int index);
int shade_step(int index, int step);

// Twice the size with diagonal edges kept smooth (the Scale2x rule): for
// enlarging a finished sprite without turning it into blocks.
Bitmap8 scale2x(const Bitmap8 &b);

// Stops the generator with a message (bad art source).
[[noreturn]] void art_error(const std::string &message);
