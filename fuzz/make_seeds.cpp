// Writes the hand-made part of the fuzzer's seed corpus into a folder: files
// that pass each catalogue with small stand-in objects, and the damaged and
// unusual shapes a datafile can take (empty, header only, a size of 2 GB, a
// packed stream cut short, compressed objects, nested datafiles).
// Usage: make_seeds <folder>
#include "data/dat_writer.h"
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "platform/shared/whole_file.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string folder;
int failures = 0;

void put32(std::vector<uint8_t> &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void save(const std::string &name, const std::vector<uint8_t> &bytes) {
  if (!write_bytes(folder + "/" + name, bytes)) {
    std::fprintf(stderr, "make_seeds: cannot write %s/%s\n", folder.c_str(), name.c_str());
    ++failures;
  }
}

std::vector<uint8_t> header(uint32_t count) {
  std::vector<uint8_t> v;
  put32(v, F_NOPACK_MAGIC);
  put32(v, DAT_MAGIC);
  put32(v, count);
  return v;
}

// One of each kind the game reads, each with a one-letter name.
DatafileBuilder one_of_each() {
  DatafileBuilder file;
  Bitmap8 b(4, 3);
  b.set(1, 1, 9);
  add_bitmap(file, "B", b);
  add_palette(file, "P", Palette{});
  add_sample(file, "S", Sample16{22050, {0, 100, -100, 7}});
  return file;
}

// A datafile holding a datafile `depth` levels down, around one_of_each.
std::vector<uint8_t> nested(int depth) {
  std::vector<uint8_t> inner = datafile_bytes(one_of_each());
  std::vector<uint8_t> body(inner.begin() + 8, inner.end());  // count and objects
  for (int level = 0; level < depth; ++level) {
    std::vector<uint8_t> outer;
    put32(outer, 1);
    put32(outer, DAT_FILE);
    put32(outer, uint32_t(body.size()));
    put32(outer, uint32_t(body.size()));
    outer.insert(outer.end(), body.begin(), body.end());
    body = outer;
  }
  std::vector<uint8_t> v;
  put32(v, F_NOPACK_MAGIC);
  put32(v, DAT_MAGIC);
  v.insert(v.end(), body.begin(), body.end());
  return v;
}

void put_object(std::vector<uint8_t> &v, uint32_t type, const std::vector<uint8_t> &body) {
  put32(v, type);
  put32(v, uint32_t(body.size()));
  put32(v, uint32_t(body.size()));
  v.insert(v.end(), body.begin(), body.end());
}

void put_property(std::vector<uint8_t> &v, uint32_t id, const std::string &text) {
  put32(v, DAT_PROPERTY);
  put32(v, id);
  put32(v, uint32_t(text.size()));
  v.insert(v.end(), text.begin(), text.end());
}

// What other tools put into datafiles: several properties on one object, an
// 8-bit stereo sample, binary data and the grabber's info object.
std::vector<uint8_t> varied() {
  std::vector<uint8_t> v = header(4);
  put_property(v, DAT_NAME, "PICTURE");
  put_property(v, DAT_ID('O', 'R', 'I', 'G'), "picture.pcx");
  put_property(v, DAT_ID('D', 'A', 'T', 'E'), "1-01-1999, 12:00");
  put_property(v, DAT_ID('X', 'P', 'O', 'S'), "0");
  put_object(v, DAT_BITMAP, {0, 8, 0, 2, 0, 1, 5, 6});
  put_property(v, DAT_NAME, "STEREO");
  put_object(v, DAT_SAMPLE, {0xff, 0xf8, 0x2b, 0x11, 0, 0, 0, 2, 1, 2, 3, 4});
  put_object(v, DAT_DATA, {1, 2, 3});
  put_object(v, DAT_ID('i', 'n', 'f', 'o'), {});
  return v;
}

std::vector<uint8_t> huge_object() {
  std::vector<uint8_t> v = header(1);
  put32(v, DAT_DATA);
  put32(v, 0x80000000u);
  put32(v, 0x80000000u);
  put32(v, 0x12345678u);
  return v;
}

// Bytes written through the library's packfile layer: the whole file packed
// ("slh!"), or an unpacked file whose objects are compressed one by one.
std::vector<uint8_t> through_library(const std::vector<uint8_t> &plain, bool packed_file) {
  std::string path = folder + "/.library-scratch";
  PACKFILE *f = pack_fopen(path.c_str(), packed_file ? F_WRITE_PACKED : F_WRITE_NOPACK);
  if (!f) return {};
  if (packed_file) {
    pack_fwrite(plain.data() + 4, long(plain.size() - 4), f);  // the library writes the magic
  } else {
    // Header and count as they are; each object's body as a compressed chunk.
    pack_fwrite(plain.data() + 4, 8, f);
    constexpr long name_property = 12 + 1;  // "prop", "NAME", its size, one letter
    for (const auto &object : one_of_each().objects) {
      pack_fwrite(object.data(), name_property + 4, f);  // the property and the type
      PACKFILE *chunk = pack_fopen_chunk(f, 1);
      long body_at = name_property + 12;
      pack_fwrite(object.data() + body_at, long(object.size()) - body_at, chunk);
      pack_fclose_chunk(chunk);
    }
  }
  pack_fclose(f);
  std::vector<uint8_t> bytes = read_whole_file(path).bytes;
  std::remove(path.c_str());
  return bytes;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <folder>\n");
    return 2;
  }
  folder = argv[1];
  install_allegro(SYSTEM_NONE, &errno, std::atexit);

  for (const char *name : DATAFILE_NAMES) save(std::string("stand-in-") + name + ".bin", stand_in_datafile(name));
  std::vector<uint8_t> small = datafile_bytes(one_of_each());
  save("one-of-each.bin", small);
  save("empty.bin", {});
  save("header-only.bin", std::vector<uint8_t>(small.begin(), small.begin() + 8));
  save("no-objects.bin", header(0));
  save("varied.bin", varied());
  save("object-of-2-gb.bin", huge_object());
  save("nested-once.bin", nested(1));
  save("nested-thrice.bin", nested(3));

  std::vector<uint8_t> packed = through_library(small, true);
  save("packed.bin", packed);
  save("packed-cut-short.bin", std::vector<uint8_t>(packed.begin(), packed.begin() + packed.size() / 2));
  save("compressed-objects.bin", through_library(small, false));
  return failures ? 1 : 0;
}
