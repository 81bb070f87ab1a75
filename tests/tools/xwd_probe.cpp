// Reads an X window dump (the frame buffer file that Xvfb keeps with -fbdir)
// and reports on a rectangle of it; optionally saves that rectangle as PNG.
// Usage: xwd_probe FILE [x y w h] [--png OUT] [--diff OTHER] [--bright LEVEL]
// Prints for the rectangle: "nonblack N distinct D mean R G B", then with
// --diff " differ N dcx X" (pixels unlike OTHER's and their mean column) and with --bright
// " bright N cx X" (pixels whose r+g+b exceeds LEVEL and their mean column).
#include "data/png_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct Dump {
  std::vector<uint8_t> bytes;
  uint32_t width = 0, height = 0, line = 0, byte_order = 0;
  size_t pixels = 0;
  bool ok = false;
};

uint32_t be32(const std::vector<uint8_t> &b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

Dump read_dump(const char *path) {
  Dump d;
  std::ifstream in(path, std::ios::binary);
  d.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (d.bytes.size() < 100) return d;
  d.width = be32(d.bytes, 16);
  d.height = be32(d.bytes, 20);
  d.byte_order = be32(d.bytes, 28);
  d.line = be32(d.bytes, 48);
  d.pixels = be32(d.bytes, 0) + size_t(be32(d.bytes, 76)) * 12;  // header, then the colour map
  d.ok = be32(d.bytes, 44) == 32 && d.pixels + size_t(d.line) * d.height <= d.bytes.size();
  if (!d.ok) std::fprintf(stderr, "xwd_probe: %s is not a 32-bit window dump\n", path);
  return d;
}

uint32_t pixel(const Dump &d, int x, int y) {
  if (x < 0 || y < 0 || x >= int(d.width) || y >= int(d.height)) return 0;
  size_t at = d.pixels + size_t(y) * d.line + size_t(x) * 4;
  const std::vector<uint8_t> &b = d.bytes;
  uint32_t v = d.byte_order ? be32(b, at) : (uint32_t(b[at + 3]) << 24) | (uint32_t(b[at + 2]) << 16) |
                                                (uint32_t(b[at + 1]) << 8) | b[at];
  return v & 0xffffff;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xwd_probe FILE [x y w h] [--png OUT]\n");
    return 2;
  }
  Dump dump = read_dump(argv[1]), other;
  if (!dump.ok) return 1;
  int x0 = 0, y0 = 0, w = int(dump.width), h = int(dump.height), bright_level = -1;
  std::string png;
  std::vector<std::string> rest(argv + 2, argv + argc);
  for (size_t i = 0; i < rest.size(); ++i) {
    bool valued = i + 1 < rest.size();
    if (rest[i] == "--png" && valued) {
      png = rest[++i];
    } else if (rest[i] == "--diff" && valued) {
      other = read_dump(rest[++i].c_str());
      if (!other.ok) return 1;
    } else if (rest[i] == "--bright" && valued) {
      bright_level = std::atoi(rest[++i].c_str());
    } else if (i + 3 < rest.size()) {
      x0 = std::atoi(rest[i].c_str());
      y0 = std::atoi(rest[i + 1].c_str());
      w = std::atoi(rest[i + 2].c_str());
      h = std::atoi(rest[i + 3].c_str());
      i += 3;
    }
  }
  PngImage image;
  image.width = w;
  image.height = h;
  long nonblack = 0, differ = 0, bright = 0;
  double sum[3] = {0, 0, 0}, bright_x = 0, differ_x = 0;
  std::set<uint32_t> distinct;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      uint32_t v = pixel(dump, x, y);
      uint8_t rgb[3] = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
      image.rgb.insert(image.rgb.end(), rgb, rgb + 3);
      nonblack += v != 0;
      if (other.ok && pixel(other, x, y) != v) {
        ++differ;
        differ_x += x - x0;
      }
      if (bright_level >= 0 && rgb[0] + rgb[1] + rgb[2] > bright_level) {
        ++bright;
        bright_x += x - x0;
      }
      for (int k = 0; k < 3; ++k) sum[k] += rgb[k];
      distinct.insert(v);
    }
  double n = double(w) * h;
  std::printf("nonblack %ld distinct %zu mean %.1f %.1f %.1f", nonblack, distinct.size(), sum[0] / n,
              sum[1] / n, sum[2] / n);
  if (other.ok) std::printf(" differ %ld dcx %.0f", differ, differ ? differ_x / differ : -1.0);
  if (bright_level >= 0) std::printf(" bright %ld cx %.0f", bright, bright ? bright_x / bright : -1.0);
  std::printf("\n");
  if (!png.empty() && !write_png(png, image)) {
    std::fprintf(stderr, "xwd_probe: cannot write %s\n", png.c_str());
    return 1;
  }
  return 0;
}
