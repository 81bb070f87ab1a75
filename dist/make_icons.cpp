// Writes the game's icons from its own art, for the desktop's hicolor theme.
// Usage: make_icons LEVEL1_DAT OUT_DIR [WINDOW_ICON_CPP]
//   writes OUT_DIR/32x32/swarmfire.png, 48x48 and 64x64 likewise, the same
//   icons as OUT_DIR/swarmfire.ico for the Windows build (ico_file.h), and
//   as the source of the window's icon (window_icon_source.h).
#include "dist/icon.h"
#include "dist/ico_file.h"
#include "dist/window_icon_source.h"
#include "frame/catalogue.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char **argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make_icons LEVEL1_DAT OUT_DIR [WINDOW_ICON_CPP]\n");
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
  std::vector<Icon> icons;
  for (int size : {32, 48, 64}) {
    std::string folder = std::string(argv[2]) + "/" + std::to_string(size) + "x" + std::to_string(size);
    std::filesystem::create_directories(folder);
    Icon icon = sprite_icon(ship, palette, size);
    if (!write_png(folder + "/swarmfire.png", icon.picture, icon.alpha)) {
      std::fprintf(stderr, "make_icons: cannot write %s/swarmfire.png\n", folder.c_str());
      status = 1;
    }
    icons.push_back(icon);
  }
  std::string ico_path = std::string(argv[2]) + "/swarmfire.ico";
  std::ofstream ico(ico_path, std::ios::binary);
  ico << ico_file(icons);
  if (!ico.flush()) {
    std::fprintf(stderr, "make_icons: cannot write %s\n", ico_path.c_str());
    status = 1;
  }
  if (argc == 4) {
    std::ofstream source(argv[3]);
    source << window_icon_source(icons, icons[1]);
    if (!source.flush()) {
      std::fprintf(stderr, "make_icons: cannot write %s\n", argv[3]);
      status = 1;
    }
  }
  unload_datafile(level);
  return status;
}
