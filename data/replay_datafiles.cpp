#include "data/replay_datafiles.h"

#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "world/enemy_kinds.h"

#include <cstdlib>
#include <string>

namespace {

// Level k (0 to 2) of a group: 1 + k of the group's second kind above,
// seven columns apart (its widest is 72 pixels), and 3 + k of the first
// kind in a row below.
Bitmap8 replay_formation(int group, int k) {
  int first = group_first_kind(group);
  Bitmap8 b(20, 15);
  for (int n = 0; n <= k; ++n) b.set(1 + 7 * n, 1, first + 1);
  for (int n = 0; n < 3 + k; ++n) b.set(3 + 4 * n, 5, first);
  return b;
}

std::vector<uint8_t> replay_file(const std::string &name) {
  for (int group = 0; group < 4; ++group)
    if (name == LEVEL_FILES[group])
      return stand_in_datafile(name, [group](DatafileBuilder &file, int n) {
        int k = n - level_object::LAYOUTS;
        if (k < 0 || k > 2) return false;
        add_bitmap(file, "LAYOUT", replay_formation(group, k));
        return true;
      });
  return stand_in_datafile(name);
}

}  // namespace

ReplayData::ReplayData() {
  for (const char *name : DATAFILE_NAMES) write_bytes(folder_.file(name), replay_file(name));
  setenv("SWARMFIRE_DATA", folder_.path.c_str(), 1);
}

ReplayData::~ReplayData() { unsetenv("SWARMFIRE_DATA"); }
