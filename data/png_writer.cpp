#include "data/png_writer.h"

#include <cstdio>

namespace {

uint32_t crc_table_entry(uint32_t c) {
  for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
  return c;
}

uint32_t crc32(const std::vector<uint8_t> &bytes, size_t from) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t n = 0; n < 256; ++n) table[n] = crc_table_entry(n);
    ready = true;
  }
  uint32_t c = 0xffffffffu;
  for (size_t i = from; i < bytes.size(); ++i) c = table[(c ^ bytes[i]) & 0xff] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

void put32(std::vector<uint8_t> &out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void chunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
  put32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, crc32(out, start));
}

// zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t> &raw) {
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(n & 0xff);
    z.push_back(n >> 8);
    z.push_back(~n & 0xff);
    z.push_back((~n >> 8) & 0xff);
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(z, (b << 16) | a);
  return z;
}

}  // namespace

bool write_png(const std::string &path, const PngImage &image) { return write_png(path, image, {}); }

bool write_png(const std::string &path, const PngImage &image, const std::vector<uint8_t> &alpha) {
  size_t pixels = static_cast<size_t>(image.width) * image.height;
  bool with_alpha = !alpha.empty();
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != pixels * 3 ||
      (with_alpha && alpha.size() != pixels))
    return false;
  std::vector<uint8_t> raw;
  raw.reserve((image.width * (with_alpha ? 4 : 3) + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < image.width; ++x) {
      size_t at = static_cast<size_t>(y) * image.width + x;
      raw.insert(raw.end(), image.rgb.begin() + at * 3, image.rgb.begin() + at * 3 + 3);
      if (with_alpha) raw.push_back(alpha[at]);
    }
  }
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  put32(header, image.width);
  put32(header, image.height);
  header.insert(header.end(), {8, static_cast<uint8_t>(with_alpha ? 6 : 2), 0, 0, 0});
  chunk(out, "IHDR", header);
  chunk(out, "IDAT", zlib_stored(raw));
  chunk(out, "IEND", {});
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}
