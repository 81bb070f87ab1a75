#include "tests/support/data_files.h"

#include "frame/catalogue.h"
#include "world/enemy_kinds.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

ScratchFolder::ScratchFolder() {
  char name[] = "/tmp/swarmfire-test-XXXXXX";
  path = mkdtemp(name);
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path); }

std::vector<uint8_t> read_bytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bitmap8 layout_with(int kind, int count) {
  Bitmap8 b(20, 15);
  for (int k = 0; k < count; ++k) b.set(2 * (k % 10), 1 + 2 * (k / 10), kind);
  return b;
}

namespace {

enum class Stand { Bitmap, Palette, Sample };

struct Plan {
  int count;
  std::function<Stand(int)> kind;
};

Plan plan_of(const std::string &name) {
  if (name == "sound.dat") return {20, [](int) { return Stand::Sample; }};
  if (name == "title.dat")
    return {title_object::COUNT, [](int n) { return n == 21 || n == 22 ? Stand::Palette : Stand::Bitmap; }};
  if (name == "bonus.dat")
    return {bonus_object::COUNT, [](int n) { return n == bonus_object::PALETTE ? Stand::Palette : Stand::Bitmap; }};
  if (name == "enddat.dat") return {ending_object::COUNT, [](int n) { return n == 0 ? Stand::Palette : Stand::Bitmap; }};
  return {level_object::COUNT, [](int n) { return n == level_object::PALETTE ? Stand::Palette : Stand::Bitmap; }};
}

int group_of(const std::string &name) {
  const char *const levels[4] = {"level1.dat", "level4.dat", "level7.dat", "level10.dat"};
  for (int g = 0; g < 4; ++g)
    if (name == levels[g]) return g;
  return -1;
}

// Small pictures that each show their own colour, and backgrounds whose
// rows differ, so that a picture of the game shows what was drawn where.
Bitmap8 stand_in_bitmap(const std::string &name, int n) {
  int group = group_of(name);
  if (group >= 0 && n >= level_object::LAYOUTS && n < level_object::LAYOUTS + 3)
    return layout_with(group_first_kind(group), 10);
  bool background = (name == "title.dat" && n == title_object::BACKGROUND) || (group >= 0 && n == level_object::BACKGROUND);
  Bitmap8 b = background ? Bitmap8(320, group >= 0 ? 959 : 240) : Bitmap8(3, 2);
  for (int y = 0; y < b.height; y += 2) b.set(background ? y * 7 % 320 : 1, y + 1, 2 + (n + y) % 200);
  return b;
}

// Three values; the looped tune a tenth of a second, the least it may be.
Sample16 stand_in_sample(int n) {
  if (n != sound_object::TUNE) return Sample16{22050, {0, 100, -100}};
  return Sample16{22050, std::vector<int16_t>(2205, 0)};
}

}  // namespace

std::vector<uint8_t> stand_in_datafile(const std::string &name,
                                       std::function<bool(DatafileBuilder &, int n)> replace) {
  Plan plan = plan_of(name);
  DatafileBuilder file;
  for (int n = 0; n < plan.count; ++n) {
    if (replace && replace(file, n)) continue;
    std::string object = "OBJECT_" + std::to_string(n);
    switch (plan.kind(n)) {
      case Stand::Bitmap: add_bitmap(file, object, stand_in_bitmap(name, n)); break;
      case Stand::Palette: add_palette(file, object, Palette{}); break;
      case Stand::Sample: add_sample(file, object, stand_in_sample(n)); break;
    }
  }
  return datafile_bytes(file);
}
