#include "data/dat_writer.h"

#include <allegro.h>

#include <cstdio>

namespace {

void put32(std::vector<uint8_t> &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void put16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

// Property list (just the name), type, both sizes (equal: not compressed), body.
void add_object(DatafileBuilder &file, const std::string &name, uint32_t type,
                const std::vector<uint8_t> &body) {
  std::vector<uint8_t> out;
  put32(out, DAT_PROPERTY);
  put32(out, DAT_NAME);
  put32(out, static_cast<uint32_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  put32(out, type);
  put32(out, static_cast<uint32_t>(body.size()));
  put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  file.objects.push_back(std::move(out));
}

}  // namespace

void add_bitmap(DatafileBuilder &file, const std::string &name, const Bitmap8 &bitmap) {
  std::vector<uint8_t> body;
  put16(body, 8);
  put16(body, static_cast<uint16_t>(bitmap.width));
  put16(body, static_cast<uint16_t>(bitmap.height));
  body.insert(body.end(), bitmap.pixels.begin(), bitmap.pixels.end());
  add_object(file, name, DAT_BITMAP, body);
}

void add_palette(DatafileBuilder &file, const std::string &name, const Palette &palette) {
  std::vector<uint8_t> body;
  for (const Rgb &c : palette) {
    body.push_back(six_bits(c.r));
    body.push_back(six_bits(c.g));
    body.push_back(six_bits(c.b));
    body.push_back(0);
  }
  add_object(file, name, DAT_PALETTE, body);
}

void add_sample(DatafileBuilder &file, const std::string &name, const Sample16 &sample) {
  std::vector<uint8_t> body;
  put16(body, 16);
  put16(body, static_cast<uint16_t>(sample.frequency));
  put32(body, static_cast<uint32_t>(sample.data.size()));
  // The library keeps 16-bit samples unsigned, low byte first.
  for (int16_t v : sample.data) {
    uint16_t u = static_cast<uint16_t>(v) ^ 0x8000u;
    body.push_back(static_cast<uint8_t>(u));
    body.push_back(static_cast<uint8_t>(u >> 8));
  }
  add_object(file, name, DAT_SAMPLE, body);
}

std::vector<uint8_t> datafile_bytes(const DatafileBuilder &file) {
  std::vector<uint8_t> out;
  put32(out, F_NOPACK_MAGIC);
  put32(out, DAT_MAGIC);
  put32(out, static_cast<uint32_t>(file.objects.size()));
  for (const auto &object : file.objects) out.insert(out.end(), object.begin(), object.end());
  return out;
}

bool write_bytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
