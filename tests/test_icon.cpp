// The icon drawn from a sprite: whole-pixel scaling, centring, the clear
// colour 0, the palette's 6-bit colours; and the PNG's alpha channel.
#include "dist/icon.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

struct Decoded {
  int colour_type = 0;
  std::vector<uint8_t> raw;  // filter byte and pixels, row by row
};

// Reads back what write_png writes: IHDR, then one IDAT of stored blocks.
Decoded decode(const std::vector<uint8_t> &png) {
  Decoded d;
  d.colour_type = png[25];
  size_t idat = 8 + 12 + 13;
  EXPECT_EQ(std::memcmp(&png[idat + 4], "IDAT", 4), 0);
  size_t at = idat + 8 + 2, last = 0;
  while (!last) {
    last = png[at];
    size_t n = png[at + 1] | png[at + 2] << 8;
    d.raw.insert(d.raw.end(), png.begin() + at + 5, png.begin() + at + 5 + n);
    at += 5 + n;
  }
  return d;
}

// The icon of a w x h sprite, all colour 0 but for the given pixels.
Icon icon_of(int w, int h, std::vector<std::array<int, 3>> pixels, int size) {
  headless::init_library();
  PALETTE palette;
  for (int i = 0; i < 256; ++i) palette[i] = RGB{0, 0, 0, 0};
  palette[5] = RGB{63, 0, 32, 0};
  palette[9] = RGB{10, 20, 30, 0};
  BITMAP *sprite = create_bitmap(w, h);
  clear(sprite);
  for (auto [x, y, c] : pixels) putpixel(sprite, x, y, c);
  Icon icon = sprite_icon(sprite, palette, size);
  destroy_bitmap(sprite);
  return icon;
}

size_t at(int size, int x, int y) { return static_cast<size_t>(y) * size + x; }

}  // namespace

TEST(Icon, ASquareSpriteFillsTheIconByWholePixelsAndAFlatOneIsCentredUnstretched) {
  Icon icon = icon_of(16, 16, {{0, 0, 5}, {15, 15, 9}}, 48);
  ASSERT_EQ(icon.picture.width, 48);
  ASSERT_EQ(icon.alpha.size(), 48u * 48);
  EXPECT_EQ(icon.alpha[at(48, 2, 2)], 255);
  EXPECT_EQ(icon.picture.rgb[at(48, 2, 2) * 3], 255);      // 63 shows as 255
  EXPECT_EQ(icon.picture.rgb[at(48, 2, 2) * 3 + 2], 130);  // 32 as 130
  EXPECT_EQ(icon.alpha[at(48, 3, 3)], 0);                  // colour 0 is clear
  EXPECT_EQ(icon.alpha[at(48, 47, 47)], 255);
  EXPECT_EQ(icon.alpha[at(48, 44, 44)], 0);
  EXPECT_EQ(icon.picture.rgb[at(48, 45, 45) * 3 + 1], 81);  // 20 as 81

  icon = icon_of(16, 8, {{0, 0, 9}, {15, 7, 9}}, 32);
  EXPECT_EQ(icon.alpha[at(32, 0, 7)], 0);
  EXPECT_EQ(icon.alpha[at(32, 0, 8)], 255);
  EXPECT_EQ(icon.alpha[at(32, 31, 23)], 255);
  EXPECT_EQ(icon.alpha[at(32, 31, 24)], 0);
}

TEST(Icon, ThePngCarriesTheOpacityOfEveryPixel) {
  ScratchFolder folder;
  PngImage picture{2, 1, {1, 2, 3, 4, 5, 6}};
  ASSERT_TRUE(write_png(folder.file("a.png"), picture, {0, 255}));
  Decoded d = decode(read_bytes(folder.file("a.png")));
  EXPECT_EQ(d.colour_type, 6);
  EXPECT_EQ(d.raw, (std::vector<uint8_t>{0, 1, 2, 3, 0, 4, 5, 6, 255}));
  EXPECT_FALSE(write_png(folder.file("c.png"), picture, {0}));  // one opacity short
}
