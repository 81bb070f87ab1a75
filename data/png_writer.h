// Writes RGB pictures as PNG files through libpng (lossless, compressed),
// for contact sheets, galleries, icons and test screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3 bytes, row by row
};

bool write_png(const std::string &path, const PngImage &image);
// The same with an opacity per pixel (width * height bytes, 0 clear).
bool write_png(const std::string &path, const PngImage &image, const std::vector<uint8_t> &alpha);
