// The game's icon, drawn from its own art: the player's ship sprite of
// level1.dat, scaled up by whole pixels and centred on a clear square.
#pragma once

#include "data/png_writer.h"

#include <allegro.h>

struct Icon {
  PngImage picture;
  std::vector<uint8_t> alpha;  // 255 where the sprite is, 0 around it
};

// A size x size picture of an 8-bit sprite in its palette; index 0 is clear.
Icon sprite_icon(BITMAP *sprite, const RGB *palette, int size);
