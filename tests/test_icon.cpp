// The icon drawn from a sprite: whole-pixel scaling, centring, the clear
// colour 0, the palette's 6-bit colours; and the PNG's alpha channel.
#include "dist/icon.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Decoded {
  int width = 0, height = 0, colour_type = 0;
  std::vector<uint8_t> raw;  // filter byte and pixels, row by row
};

uint32_t be32(const std::vector<uint8_t> &b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Reads back what write_png writes: IHDR, then one IDAT of stored blocks.
Decoded decode(const std::vector<uint8_t> &png) {
  Decoded d;
  d.width = static_cast<int>(be32(png, 16));
  d.height = static_cast<int>(be32(png, 20));
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

class IconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::init_library();
    for (int i = 0; i < 256; ++i) palette_[i] = RGB{0, 0, 0, 0};
    palette_[5] = RGB{63, 0, 32, 0};
    palette_[9] = RGB{10, 20, 30, 0};
  }
  PALETTE palette_;
};

size_t at(int size, int x, int y) { return static_cast<size_t>(y) * size + x; }

}  // namespace

TEST_F(IconTest, ASquareSpriteFillsTheIconByWholePixels) {
  BITMAP *ship = create_bitmap(16, 16);
  clear(ship);
  putpixel(ship, 0, 0, 5);
  putpixel(ship, 15, 15, 9);
  Icon icon = sprite_icon(ship, palette_, 48);
  destroy_bitmap(ship);
  ASSERT_EQ(icon.picture.width, 48);
  ASSERT_EQ(icon.alpha.size(), 48u * 48);
  for (int k : {0, 2}) {
    EXPECT_EQ(icon.alpha[at(48, k, k)], 255) << k;
    EXPECT_EQ(icon.picture.rgb[at(48, k, k) * 3], 255);    // 63 shows as 255
    EXPECT_EQ(icon.picture.rgb[at(48, k, k) * 3 + 2], 130);  // 32 as 130
  }
  EXPECT_EQ(icon.alpha[at(48, 3, 3)], 0);  // colour 0 is clear
  EXPECT_EQ(icon.alpha[at(48, 47, 47)], 255);
  EXPECT_EQ(icon.alpha[at(48, 44, 44)], 0);
  EXPECT_EQ(icon.picture.rgb[at(48, 45, 45) * 3 + 1], 81);  // 20 as 81
}

TEST_F(IconTest, AFlatSpriteIsCentredAndNotStretched) {
  BITMAP *wide = create_bitmap(16, 8);
  clear_to_color(wide, 9);
  Icon icon = sprite_icon(wide, palette_, 32);
  destroy_bitmap(wide);
  EXPECT_EQ(icon.alpha[at(32, 0, 7)], 0);
  EXPECT_EQ(icon.alpha[at(32, 0, 8)], 255);
  EXPECT_EQ(icon.alpha[at(32, 31, 23)], 255);
  EXPECT_EQ(icon.alpha[at(32, 31, 24)], 0);
}

TEST_F(IconTest, ThePngCarriesTheOpacityOfEveryPixel) {
  ScratchFolder folder;
  PngImage picture{2, 1, {1, 2, 3, 4, 5, 6}};
  ASSERT_TRUE(write_png(folder.file("a.png"), picture, {0, 255}));
  Decoded d = decode(read_bytes(folder.file("a.png")));
  EXPECT_EQ(d.colour_type, 6);
  EXPECT_EQ(d.raw, (std::vector<uint8_t>{0, 1, 2, 3, 0, 4, 5, 6, 255}));
  ASSERT_TRUE(write_png(folder.file("b.png"), picture));
  d = decode(read_bytes(folder.file("b.png")));
  EXPECT_EQ(d.colour_type, 2);
  EXPECT_EQ(d.raw, (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(write_png(folder.file("c.png"), picture, {0}));  // one opacity short
}
