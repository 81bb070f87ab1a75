#include "frame/datafile_structure.h"

#include <allegro.h>

#include <array>

namespace {

constexpr int deepest_nesting = 4;
constexpr int largest_picture = 4096;  // pixels a side
// The loader allocates and frees for every object and every property, and
// walks an object's whole property list for each property it adds: files of
// millions of empty objects or thousands of properties on one object take
// seconds to minutes to load. The game's largest file holds 90 objects with
// one property each.
constexpr uint32_t most_objects = 1024;  // in the whole file, nested ones too
constexpr int most_properties = 64;      // on one object
constexpr int most_properties_in_file = 4096;
constexpr uint32_t DAT_INFO_ID = DAT_ID('i', 'n', 'f', 'o');

// Object types whose bodies the library only copies, or that are checked
// here byte for byte. Every other type has a parser of its own in the
// library and is refused.
constexpr std::array<uint32_t, 6> readable_types = {DAT_BITMAP, DAT_PALETTE, DAT_SAMPLE,
                                                    DAT_FILE,   DAT_DATA,    DAT_INFO_ID};

// A window [pos, end) of the file; reads fail instead of running past end.
struct Cursor {
  const std::vector<uint8_t> *bytes;
  size_t pos, end;

  size_t left() const { return end - pos; }
  bool take32(uint32_t &v) {
    if (left() < 4) return false;
    const uint8_t *p = bytes->data() + pos;
    v = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    pos += 4;
    return true;
  }
  bool take16(int &v) {
    if (left() < 2) return false;
    const uint8_t *p = bytes->data() + pos;
    v = int16_t(uint16_t(p[0] << 8 | p[1]));
    pos += 2;
    return true;
  }
  bool take16_unsigned(int &v) {
    if (!take16(v)) return false;
    v = uint16_t(v);
    return true;
  }
};

std::string type_name(uint32_t type) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>(type >> shift);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

struct Walk {
  const std::vector<uint8_t> &bytes;
  std::string problem;
  std::string place;  // "object 12" or "object 3.4" inside a nested file
  uint32_t objects_seen = 0;
  int properties_seen = 0;

  bool fail(const std::string &why) {
    if (problem.empty()) problem = why + (place.empty() ? "" : ", in " + place);
    return false;
  }
  bool truncated(size_t at) { return fail("truncated at byte " + std::to_string(at)); }

  bool bitmap(Cursor body) {
    int bits, w, h;
    if (!body.take16(bits) || !body.take16(w) || !body.take16(h))
      return fail("bitmap header too short");
    if (bits != 8) return fail(std::to_string(bits) + "-bit bitmap; the game uses 8-bit ones");
    if (w < 1 || h < 1 || w > largest_picture || h > largest_picture)
      return fail("bitmap of " + std::to_string(w) + "x" + std::to_string(h));
    if (body.left() != size_t(w) * size_t(h))
      return fail("bitmap pixels do not match its size " + std::to_string(w) + "x" +
                  std::to_string(h));
    return true;
  }

  bool palette(Cursor body) {
    if (body.left() != 256 * 4) return fail("palette is not 256 entries");
    for (size_t i = 0; i < 256 * 4; ++i)
      if (i % 4 != 3 && bytes[body.pos + i] > 63) return fail("palette value above 63");
    return true;
  }

  bool sample(Cursor body) {
    int bits, freq;
    uint32_t length;
    if (!body.take16(bits) || !body.take16_unsigned(freq) || !body.take32(length))
      return fail("sample header too short");
    // A voice at 0 Hz never moves on, and never frees its channel.
    if (freq == 0) return fail("sample at 0 Hz");
    int channels = bits < 0 ? 2 : 1;
    int depth = bits < 0 ? -bits : bits;
    if (depth != 8 && depth != 16) return fail(std::to_string(bits) + "-bit sample");
    if (length == 0) return fail("empty sample");
    uint64_t expected = uint64_t(length) * channels * (depth / 8);
    if (body.left() != expected) return fail("sample data does not match its length");
    return true;
  }

  // One object: properties, then type, sizes and body.
  bool object(Cursor &c, int depth, const std::string &name) {
    place = name;
    uint32_t type;
    for (int properties = 0;; ++properties) {
      if (!c.take32(type)) return truncated(c.end);
      if (type != DAT_PROPERTY) break;
      if (properties == most_properties)
        return fail("more than " + std::to_string(most_properties) + " properties");
      if (++properties_seen > most_properties_in_file)
        return fail("more than " + std::to_string(most_properties_in_file) + " properties in the file");
      uint32_t id, size;
      if (!c.take32(id) || !c.take32(size)) return truncated(c.end);
      if (size > c.left()) return truncated(c.end);
      // The loader ends a property list at this id: the property and
      // everything after it would never be freed.
      if (id == uint32_t(DAT_END)) return fail("property with the end-of-list id");
      c.pos += size;
    }
    uint32_t stored, unpacked;
    if (!c.take32(stored) || !c.take32(unpacked)) return truncated(c.end);
    if (int32_t(unpacked) < 0) return fail("compressed object");
    if (stored != unpacked) return fail("object sizes disagree");
    if (stored > c.left()) return truncated(c.end);
    Cursor body{&bytes, c.pos, c.pos + stored};
    c.pos += stored;
    bool known = false;
    for (uint32_t t : readable_types) known = known || t == type;
    if (!known) return fail("object type \"" + type_name(type) + "\", which the game does not use");
    if (type == DAT_BITMAP) return bitmap(body);
    if (type == DAT_PALETTE) return palette(body);
    if (type == DAT_SAMPLE) return sample(body);
    if (type == DAT_FILE) return objects(body, depth + 1, name + ".");
    return true;
  }

  // An object count and that many objects, all within the cursor.
  bool objects(Cursor c, int depth, const std::string &prefix) {
    if (depth > deepest_nesting) return fail("datafiles nested too deep");
    uint32_t count;
    if (!c.take32(count)) return truncated(c.end);
    // Every object takes at least its type and two sizes.
    if (count > c.left() / 12) return truncated(c.end);
    if (count > most_objects - objects_seen)
      return fail("more than " + std::to_string(most_objects) + " objects");
    objects_seen += count;
    for (uint32_t i = 0; i < count; ++i)
      if (!object(c, depth, prefix.empty() ? "object " + std::to_string(i) : prefix + std::to_string(i)))
        return false;
    return true;
  }
};

}  // namespace

std::string datafile_structure_problem(const std::vector<uint8_t> &bytes) {
  Walk walk{bytes, {}, {}};
  Cursor c{&bytes, 0, bytes.size()};
  uint32_t magic, dat_magic;
  if (bytes.empty()) return "empty file";
  if (!c.take32(magic)) return "truncated at byte " + std::to_string(bytes.size());
  if (magic == uint32_t(F_PACK_MAGIC)) return "packed datafile; the game reads unpacked ones";
  if (magic != uint32_t(F_NOPACK_MAGIC)) return "not a datafile";
  if (!c.take32(dat_magic)) return "truncated at byte " + std::to_string(bytes.size());
  if (dat_magic != uint32_t(DAT_MAGIC)) return "not a datafile";
  walk.objects(c, 0, "");
  return walk.problem;
}
