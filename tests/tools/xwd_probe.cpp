// Reads an X window dump (the frame buffer file that Xvfb keeps with -fbdir)
// and reports on a rectangle of it; optionally saves that rectangle as PNG.
// Usage: xwd_probe FILE [x y w h] [--png OUT]
// Prints: "nonblack N distinct D mean R G B" for the rectangle.
#include "data/png_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

uint32_t be32(const std::vector<uint8_t> &b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xwd_probe FILE [x y w h] [--png OUT]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 100) {
    std::fprintf(stderr, "xwd_probe: %s is too short\n", argv[1]);
    return 1;
  }
  uint32_t header_size = be32(b, 0), width = be32(b, 16), height = be32(b, 20);
  uint32_t byte_order = be32(b, 28), bpp = be32(b, 44), line = be32(b, 48);
  uint32_t ncolors = be32(b, 76);
  size_t pixels = header_size + size_t(ncolors) * 12;
  if (bpp != 32 || pixels + size_t(line) * height > b.size()) {
    std::fprintf(stderr, "xwd_probe: only 32-bit dumps are read\n");
    return 1;
  }
  int x0 = 0, y0 = 0, w = int(width), h = int(height);
  std::string png;
  std::vector<std::string> rest(argv + 2, argv + argc);
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == "--png" && i + 1 < rest.size()) {
      png = rest[++i];
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
  long nonblack = 0;
  double sum[3] = {0, 0, 0};
  std::set<uint32_t> distinct;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      uint32_t v = 0;
      if (x >= 0 && y >= 0 && x < int(width) && y < int(height)) {
        size_t at = pixels + size_t(y) * line + size_t(x) * 4;
        v = byte_order ? be32(b, at)
                       : (uint32_t(b[at + 3]) << 24) | (uint32_t(b[at + 2]) << 16) |
                             (uint32_t(b[at + 1]) << 8) | b[at];
      }
      uint8_t r = (v >> 16) & 0xff, g = (v >> 8) & 0xff, bl = v & 0xff;
      image.rgb.insert(image.rgb.end(), {r, g, bl});
      if (r | g | bl) ++nonblack;
      sum[0] += r;
      sum[1] += g;
      sum[2] += bl;
      distinct.insert(v & 0xffffff);
    }
  }
  double n = double(w) * h;
  std::printf("nonblack %ld distinct %zu mean %.1f %.1f %.1f\n", nonblack, distinct.size(),
              sum[0] / n, sum[1] / n, sum[2] / n);
  if (!png.empty() && !write_png(png, image)) {
    std::fprintf(stderr, "xwd_probe: cannot write %s\n", png.c_str());
    return 1;
  }
  return 0;
}
