// Writes datafiles in the library's format (uncompressed), so that
// load_datafile reads them: 8-bit bitmaps, palettes and samples, every object
// with a NAME property. The same input always gives the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A colour with 8 bits per component. Palettes keep the 6 bits the hardware
// uses; shown() is the colour a palette entry really gives.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb &) const = default;
};
inline uint8_t six_bits(uint8_t v) { return static_cast<uint8_t>(v >> 2); }
inline uint8_t from_six_bits(uint8_t v6) { return static_cast<uint8_t>((v6 << 2) | (v6 >> 4)); }
inline Rgb shown(Rgb c) {
  return {from_six_bits(six_bits(c.r)), from_six_bits(six_bits(c.g)), from_six_bits(six_bits(c.b))};
}

using Palette = std::array<Rgb, 256>;

// An 8-bit picture: one palette index per pixel, row by row; 0 is transparent
// when the picture is drawn as a sprite.
struct Bitmap8 {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;

  Bitmap8() = default;
  Bitmap8(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0) {}
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  uint8_t at(int x, int y) const { return inside(x, y) ? pixels[static_cast<size_t>(y) * width + x] : 0; }
  void set(int x, int y, int index) {
    if (inside(x, y)) pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(index);
  }
};

// Signed 16-bit mono sound.
struct Sample16 {
  int frequency = 22050;
  std::vector<int16_t> data;
};

// A datafile being put together: each object already encoded, in order.
struct DatafileBuilder {
  std::vector<std::vector<uint8_t>> objects;
};

void add_bitmap(DatafileBuilder &file, const std::string &name, const Bitmap8 &bitmap);
void add_palette(DatafileBuilder &file, const std::string &name, const Palette &palette);
void add_sample(DatafileBuilder &file, const std::string &name, const Sample16 &sample);

std::vector<uint8_t> datafile_bytes(const DatafileBuilder &file);
// False when the file cannot be written.
bool write_bytes(const std::string &path, const std::vector<uint8_t> &bytes);
