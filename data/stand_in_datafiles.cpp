#include "data/stand_in_datafiles.h"

#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "world/enemy_kinds.h"

#include <filesystem>
#include <random>

ScratchFolder::ScratchFolder() {
  const std::filesystem::path temporary = std::filesystem::temp_directory_path();
  std::random_device random;
  std::filesystem::path folder;
  do folder = temporary / ("swarmfire-test-" + std::to_string(random()));
  while (!std::filesystem::create_directory(folder));
  path = folder.string();
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path); }

Bitmap8 layout_with(int kind, int count) {
  Bitmap8 b(20, 15);
  for (int k = 0; k < count; ++k) b.set(2 * (k % 10), 1 + 2 * (k / 10), kind);
  return b;
}

namespace {

int group_of(const std::string &name) {
  for (int g = 0; g < 4; ++g)
    if (name == LEVEL_FILES[g]) return g;
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
  // The kinds the catalogue lists; a position it skips as the one before.
  std::vector<ObjectKind> kinds;
  for (const CataloguedObject &o : catalogued_objects(name)) {
    if (o.position >= int(kinds.size())) kinds.resize(o.position + 1, kinds.empty() ? o.kind : kinds.back());
    kinds[o.position] = o.kind;
  }
  DatafileBuilder file;
  for (int n = 0; n < int(kinds.size()); ++n) {
    if (replace && replace(file, n)) continue;
    std::string object = "OBJECT_" + std::to_string(n);
    switch (kinds[n]) {
      case ObjectKind::bitmap: add_bitmap(file, object, stand_in_bitmap(name, n)); break;
      case ObjectKind::palette: add_palette(file, object, Palette{}); break;
      case ObjectKind::sample: add_sample(file, object, stand_in_sample(n)); break;
    }
  }
  return datafile_bytes(file);
}
