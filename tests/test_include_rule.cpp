// The include rule: each folder of the game includes only the folders and
// headers below it. Play (world, combat, the renderer) sees the state of
// play and the program's few services, never the program or the screens;
// the platform sees nothing above itself. A failure names the file, the
// line and the include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What play may include of the program frame.
#define PLAY_STATE "frame/game_state.h", "frame/catalogue.h", "frame/random.h", \
                   "frame/colour_tables.h", "frame/program_services.h"

// The files of a folder (and of its subfolders without a row of their own)
// may include what their row names: a folder ("render/") or one header.
struct Rule {
  std::string folder;
  std::vector<std::string> may_include;
};

const Rule rules[] = {
    {"platform/", {"platform/"}},
    {"combat/", {"combat/", "world/records.h", PLAY_STATE}},
    {"render/", {"render/", "world/records.h", PLAY_STATE}},
    {"world/", {"world/", "combat/", "render/starfield.h", PLAY_STATE}},
    {"screens/", {"screens/", "render/", "combat/", "world/", "platform/", PLAY_STATE, "frame/controls.h",
                  "frame/frame_stats.h", "frame/program.h", "frame/resources.h"}},
    {"frame/", {"frame/", "screens/", "render/", "world/", "combat/", "platform/"}},
    {"data/", {"data/", "frame/catalogue.h", "world/enemy_kinds.h"}},
    // The gallery drives the whole game over the headless twin, as the tests do.
    {"data/gallery/", {""}},
};

// The row of a file: the longest folder that holds it.
const Rule *rule_of(const std::string &file) {
  const Rule *found = nullptr;
  for (const Rule &rule : rules)
    if (file.starts_with(rule.folder) && (!found || rule.folder.size() > found->folder.size())) found = &rule;
  return found;
}

bool allowed(const Rule &rule, const std::string &header) {
  for (const std::string &entry : rule.may_include)
    if (entry.ends_with("/") || entry.empty() ? header.starts_with(entry) : header == entry) return true;
  return false;
}

}  // namespace

TEST(IncludeRule, EachFolderIncludesOnlyWhatLiesBelowIt) {
  const fs::path root = SWARMFIRE_SOURCE_DIR;
  int files = 0;
  for (const char *top : {"platform", "combat", "render", "world", "screens", "frame", "data"})
    for (const auto &entry : fs::recursive_directory_iterator(root / top)) {
      std::string file = entry.path().lexically_relative(root).string();
      if (!file.ends_with(".cpp") && !file.ends_with(".h")) continue;
      const Rule &rule = *rule_of(file);
      ++files;
      std::ifstream in(entry.path());
      std::string line;
      for (int n = 1; std::getline(in, line); ++n) {
        if (!line.starts_with("#include \"")) continue;
        std::string header = line.substr(10, line.find('"', 10) - 10);
        if (header.find('/') != std::string::npos && !allowed(rule, header))
          ADD_FAILURE() << file << ":" << n << ": includes " << header;
      }
    }
  EXPECT_GT(files, 100);
}
