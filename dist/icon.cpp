#include "dist/icon.h"

#include "data/dat_writer.h"

#include <algorithm>

Icon sprite_icon(BITMAP *sprite, const RGB *palette, int size) {
  Icon icon;
  icon.picture.width = icon.picture.height = size;
  icon.picture.rgb.assign(static_cast<size_t>(size) * size * 3, 0);
  icon.alpha.assign(static_cast<size_t>(size) * size, 0);
  int scale = std::max(1, size / std::max(sprite->w, sprite->h));
  int left = (size - sprite->w * scale) / 2;
  int top = (size - sprite->h * scale) / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      int sx = (x - left) / scale, sy = (y - top) / scale;
      if (x < left || y < top || sx >= sprite->w || sy >= sprite->h) continue;
      int index = getpixel(sprite, sx, sy);
      if (index <= 0) continue;
      size_t at = static_cast<size_t>(y) * size + x;
      icon.picture.rgb[at * 3] = from_six_bits(palette[index].r);
      icon.picture.rgb[at * 3 + 1] = from_six_bits(palette[index].g);
      icon.picture.rgb[at * 3 + 2] = from_six_bits(palette[index].b);
      icon.alpha[at] = 255;
    }
  return icon;
}
