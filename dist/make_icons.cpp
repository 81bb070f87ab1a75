// Writes the game's icons from its own art, for the desktop's hicolor theme.
// Usage: make_icons LEVEL1_DAT OUT_DIR
//   writes OUT_DIR/32x32/swarmfire.png, 48x48 and 64x64 likewise.
#include "dist/icon.h"
#include "frame/catalogue.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icons LEVEL1_DAT OUT_DIR\n");
    return 2;
  }
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  DATAFILE *level = load_datafile(argv[1]);
  if (!level) {
    std::fprintf(stderr, "make_icons: cannot load %s\n", argv[1]);
    return 1;
  }
  BITMAP *ship = dat_bitmap(level, level_object::SHIP);
  RGB *palette = dat_palette(level, level_object::PALETTE);
  int status = 0;
  for (int size : {32, 48, 64}) {
    std::string folder = std::string(argv[2]) + "/" + std::to_string(size) + "x" + std::to_string(size);
    std::filesystem::create_directories(folder);
    Icon icon = sprite_icon(ship, palette, size);
    if (!write_png(folder + "/swarmfire.png", icon.picture, icon.alpha)) {
      std::fprintf(stderr, "make_icons: cannot write %s/swarmfire.png\n", folder.c_str());
      status = 1;
    }
  }
  unload_datafile(level);
  return status;
}
