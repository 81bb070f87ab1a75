// Writes the eight datafiles of the game into a folder: make_datafiles DIR
#include "data/dat_writer.h"
#include "data/datafiles.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_datafiles FOLDER\n");
    return 2;
  }
  for (const GeneratedFile &f : build_datafiles()) {
    std::string path = std::string(argv[1]) + "/" + f.first;
    if (!write_bytes(path, f.second)) {
      std::fprintf(stderr, "make_datafiles: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
