// Reads an X window dump (the frame buffer file that Xvfb keeps with -fbdir)
// and reports on a rectangle of it; optionally saves that rectangle as PNG.
// Usage: xwd_probe FILE [x y w h] [--step S] [--png OUT] [--diff OTHER] [--bright LEVEL]
//        [--scaled-from PCX]
// With --step S only the top-left pixel of each S x S block is read, so that
// a picture scaled by S is measured (and saved) at its own size; with
// --scaled-from, every pixel of the rectangle is compared with the 8-bit PCX
// picture scaled by S ("mismatch N": pixels that differ).
// Prints for the rectangle: "nonblack N mean R G B", then with
// --diff " differ N" (pixels unlike OTHER's) and with --bright " bright N" (pixels
// whose r+g+b exceeds LEVEL).
#include "data/png_writer.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

// The 8-bit picture the game saved (SWARMFIRE_LAST_FRAME), read by the
// library, as 0xRRGGBB pixels with its palette's 6-bit values scaled as the
// library scales them when it saves or shows them.
struct Pcx {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
};

Pcx read_pcx(const char *path) {
  Pcx pcx;
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_conversion(COLORCONV_NONE);
  PALETTE pal;
  BITMAP *b = load_bitmap(path, pal);
  if (!b || bitmap_color_depth(b) != 8) return pcx;
  pcx.width = b->w;
  pcx.height = b->h;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) {
      const RGB &c = pal[getpixel(b, x, y)];
      pcx.rgb.push_back(uint32_t(_rgb_scale_6[c.r]) << 16 | uint32_t(_rgb_scale_6[c.g]) << 8 | _rgb_scale_6[c.b]);
    }
  destroy_bitmap(b);
  return pcx;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xwd_probe FILE [x y w h] [--png OUT]\n");
    return 2;
  }
  Dump dump = read_dump(argv[1]), other;
  if (!dump.ok) return 1;
  int x0 = 0, y0 = 0, w = int(dump.width), h = int(dump.height), bright_level = -1, step = 1;
  Pcx pcx;
  std::string png;
  std::vector<std::string> rest(argv + 2, argv + argc);
  for (size_t i = 0; i < rest.size(); ++i) {
    bool valued = i + 1 < rest.size();
    if (rest[i] == "--png" && valued) {
      png = rest[++i];
    } else if (rest[i] == "--diff" && valued) {
      other = read_dump(rest[++i].c_str());
      if (!other.ok) return 1;
    } else if (rest[i] == "--step" && valued) {
      step = std::max(1, std::atoi(rest[++i].c_str()));
    } else if (rest[i] == "--scaled-from" && valued) {
      pcx = read_pcx(rest[++i].c_str());
      if (pcx.width == 0) {
        std::fprintf(stderr, "xwd_probe: %s is not an 8-bit PCX\n", rest[i].c_str());
        return 1;
      }
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
  image.width = (w + step - 1) / step;
  image.height = (h + step - 1) / step;
  long nonblack = 0, differ = 0, bright = 0, mismatch = -1;
  double sum[3] = {0, 0, 0};
  if (pcx.width) {
    mismatch = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int px = x / step, py = y / step;
        uint32_t want = px < pcx.width && py < pcx.height ? pcx.rgb[size_t(py) * pcx.width + px] : ~0u;
        mismatch += pixel(dump, x0 + x, y0 + y) != want;
      }
  }
  for (int y = y0; y < y0 + h; y += step)
    for (int x = x0; x < x0 + w; x += step) {
      uint32_t v = pixel(dump, x, y);
      uint8_t rgb[3] = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
      image.rgb.insert(image.rgb.end(), rgb, rgb + 3);
      nonblack += v != 0;
      differ += other.ok && pixel(other, x, y) != v;
      bright += bright_level >= 0 && rgb[0] + rgb[1] + rgb[2] > bright_level;
      for (int k = 0; k < 3; ++k) sum[k] += rgb[k];
    }
  double n = double(image.width) * image.height;
  std::printf("nonblack %ld mean %.1f %.1f %.1f", nonblack, sum[0] / n, sum[1] / n, sum[2] / n);
  if (other.ok) std::printf(" differ %ld", differ);
  if (bright_level >= 0) std::printf(" bright %ld", bright);
  if (mismatch >= 0) std::printf(" mismatch %ld", mismatch);
  std::printf("\n");
  if (!png.empty() && !write_png(png, image)) {
    std::fprintf(stderr, "xwd_probe: cannot write %s\n", png.c_str());
    return 1;
  }
  return 0;
}
