#include "dist/ico_file.h"

#include <cstdint>

namespace {

void put16(std::string &out, uint32_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8 & 0xff);
}

void put32(std::string &out, uint32_t value) {
  put16(out, value & 0xffff);
  put16(out, value >> 16);
}

// One icon's image: a BITMAPINFOHEADER whose height counts the colour
// rows and the mask's, the colours as BGRA bottom row first, then the
// mask (1 where clear), each of its rows padded to 32 bits.
std::string bitmap(const Icon &icon) {
  uint32_t w = static_cast<uint32_t>(icon.picture.width), h = static_cast<uint32_t>(icon.picture.height);
  uint32_t mask_row = (w + 31) / 32 * 4;
  std::string out;
  put32(out, 40);
  put32(out, w);
  put32(out, h * 2);
  put16(out, 1);   // planes
  put16(out, 32);  // bits a pixel
  put32(out, 0);   // BI_RGB
  put32(out, w * h * 4 + mask_row * h);
  for (int k = 0; k < 4; ++k) put32(out, 0);  // resolution, palette
  for (uint32_t y = h; y-- > 0;)
    for (uint32_t x = 0; x < w; ++x) {
      size_t at = static_cast<size_t>(y) * w + x;
      out += static_cast<char>(icon.picture.rgb[at * 3 + 2]);
      out += static_cast<char>(icon.picture.rgb[at * 3 + 1]);
      out += static_cast<char>(icon.picture.rgb[at * 3]);
      out += static_cast<char>(icon.alpha[at]);
    }
  for (uint32_t y = h; y-- > 0;) {
    std::string row(mask_row, '\0');
    for (uint32_t x = 0; x < w; ++x)
      if (icon.alpha[static_cast<size_t>(y) * w + x] == 0) row[x / 8] = static_cast<char>(row[x / 8] | 0x80 >> x % 8);
    out += row;
  }
  return out;
}

}  // namespace

std::string ico_file(const std::vector<Icon> &icons) {
  std::string head, images;
  put16(head, 0);  // reserved
  put16(head, 1);  // an icon, not a cursor
  put16(head, static_cast<uint32_t>(icons.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(icons.size());
  for (const Icon &icon : icons) {
    std::string image = bitmap(icon);
    head += static_cast<char>(icon.picture.width & 0xff);  // 256 is written as 0
    head += static_cast<char>(icon.picture.height & 0xff);
    head += '\0';  // no palette
    head += '\0';
    put16(head, 1);   // planes
    put16(head, 32);  // bits a pixel
    put32(head, static_cast<uint32_t>(image.size()));
    put32(head, offset + static_cast<uint32_t>(images.size()));
    images += image;
  }
  return head + images;
}
