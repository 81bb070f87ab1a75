// The icon drawn from a sprite: whole-pixel scaling, centring, the clear
// colour 0, the palette's 6-bit colours; and the PNG writer, read back
// through libpng.
#include "data/stand_in_datafiles.h"
#include "dist/icon.h"
#include "platform/headless/headless_controls.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>

namespace {

// A PNG's pixels read back through libpng; none if it cannot be read or
// holds other channels than `format`.
std::vector<uint8_t> read_png(const std::string &path, png_uint_32 format) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> pixels;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return pixels;
  pixels.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr) || png.format != format) pixels.clear();
  return pixels;
}

// The icon of a w x h sprite, all colour 0 but for the given pixels.
Icon icon_of(int w, int h, std::vector<std::array<int, 3>> pixels, int size) {
  headless::init_library();
  PALETTE palette{};
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

// An odd width (rows of no round length), bytes over the whole range, and
// colour kept under full transparency.
TEST(Icon, ThePngReadsBackPixelForPixelWithAndWithoutOpacity) {
  ScratchFolder folder;
  PngImage picture{7, 5, {}};
  std::vector<uint8_t> alpha, rgba;
  for (int i = 0; i < 7 * 5; ++i) {
    for (int k = 0; k < 3; ++k) picture.rgb.push_back(uint8_t((i * 3 + k) * 97 + i / 4));
    alpha.push_back(uint8_t(i * 53));
    rgba.insert(rgba.end(), picture.rgb.end() - 3, picture.rgb.end());
    rgba.push_back(alpha.back());
  }
  ASSERT_TRUE(write_png(folder.file("rgb.png"), picture));
  ASSERT_TRUE(write_png(folder.file("rgba.png"), picture, alpha));
  EXPECT_EQ(read_png(folder.file("rgb.png"), PNG_FORMAT_RGB), picture.rgb);
  EXPECT_EQ(read_png(folder.file("rgba.png"), PNG_FORMAT_RGBA), rgba);
  EXPECT_FALSE(write_png(folder.file("c.png"), picture, {0}));  // one opacity short
  EXPECT_FALSE(write_png(folder.file("none/d.png"), picture));  // no such folder
}
