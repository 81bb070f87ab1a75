// A level datafile built in memory for renderer and level tests: every
// object at its catalogue position, each bitmap a solid block of its own
// colour, and a palette that holds the shade ramps and star greys exactly.
#pragma once

#include <allegro.h>

// Colour index that fills level object n's bitmap (objects 0 to 89).
int test_object_colour(int n);

// The palette of the test level. Entries 1 to 40 are the 40 shade colours in
// order; 41 to 44 the star greys; 200 to 255 bright colours for the glow.
const RGB *test_level_palette();

// A fresh datafile (release with unload_datafile). Layout objects 75 to 77
// are 20 x 15 and empty; the background is 320 x 960 with row r in colour
// 100 + r % 50.
DATAFILE *make_test_level_data();

// Puts the test level in place as level start would: level_data, palette,
// rgb_map and color_map, shade colours, frame bitmaps.
void install_test_level();
