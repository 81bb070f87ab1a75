// Writes a datafile that meets the catalogue of its name except at one
// listed position, which holds an object of another kind: a palette where a
// bitmap belongs, a bitmap where a palette or a sample does.
// Usage: wrong_object NAME POSITION OUT_FILE
#include "frame/catalogue.h"
#include "tests/support/data_files.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool wants_palette(const std::string &name, int n) {
  if (name == "title.dat") return n == title_object::OPTIONS_PALETTE || n == title_object::TITLE_PALETTE;
  if (name == "bonus.dat") return n == bonus_object::PALETTE;
  if (name == "enddat.dat") return n == ending_object::PALETTE;
  if (name == "sound.dat") return false;
  return n == level_object::PALETTE;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: wrong_object NAME POSITION OUT_FILE\n");
    return 2;
  }
  std::string name = argv[1];
  int position = std::atoi(argv[2]);
  bool bitmap_wanted = name != "sound.dat" && !wants_palette(name, position);
  auto wrong = [&](DatafileBuilder &file, int n) {
    if (n != position) return false;
    if (bitmap_wanted)
      add_palette(file, "WRONG_KIND", Palette{});
    else
      add_bitmap(file, "WRONG_KIND", Bitmap8(2, 2));
    return true;
  };
  return write_bytes(argv[3], stand_in_datafile(name, wrong)) ? 0 : 1;
}
