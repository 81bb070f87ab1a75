// The include rule, by layers: the platform, then the state of play (the
// shared headers, the record types and the services play asks of the
// program), then play itself (the world, combat, the renderer, the player's
// controls), then the screens, then the program frame, and last the tools
// (tests, benchmarks, fuzzers, the data builder and the gallery, which
// share their support freely). A file includes only files of its own layer
// or below, and the game's files include one another without a cycle. A
// failure names the file, the line and the include, or the cycle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A layer's places: a folder ("world/"), a file without its ending
// ("frame/controls" for .h and .cpp), or "_records" for the record types of
// any folder. A file belongs to the most particular place that names it.
struct Layer {
  const char *name;
  std::vector<std::string> places;
};

const Layer layers[] = {
    {"platform", {"platform/"}},
    {"state",
     {"_records", "world/records", "world/enemy_kinds", "frame/game_state", "frame/catalogue", "frame/random",
      "frame/colour_tables", "frame/program_services", "frame/resources", "frame/datafile_check",
      "frame/datafile_structure", "frame/data_path", "frame/frame_stats", "frame/play_feed", "frame/world_hash"}},
    {"play",
     {"world/", "combat/", "render/", "frame/controls", "frame/autopilot", "frame/screenshot", "frame/pause",
      "frame/level_start"}},
    {"screens", {"screens/", "frame/game_over"}},
    {"program", {"frame/"}},
    {"tools", {"data/", "bench/", "fuzz/", "tests/"}},
};
constexpr int TOOLS = 5;

// How particular a place is for a file, or -1 when it does not name it.
int match(const std::string &place, const std::string &file) {
  std::string stem = file.substr(0, file.rfind('.'));
  if (place == "_records") return stem.ends_with(place) ? 1000 : -1;
  if (place.ends_with("/")) return file.starts_with(place) ? static_cast<int>(place.size()) : -1;
  return stem == place ? 1000 : -1;
}

// The layer of a file of the tree, or -1 for one of no layer.
int layer_of(const std::string &file) {
  int best = -1, layer = -1;
  for (int l = 0; l < static_cast<int>(std::size(layers)); ++l)
    for (const std::string &place : layers[l].places)
      if (int m = match(place, file); m > best) best = m, layer = l;
  return layer;
}

struct Include {
  std::string header;
  int line;
};

// Every file of the tree's layers, with its includes of the tree's files.
std::map<std::string, std::vector<Include>> includes_of_tree(const fs::path &root) {
  std::map<std::string, std::vector<Include>> tree;
  for (const char *top : {"platform", "world", "combat", "render", "screens", "frame", "data", "bench", "fuzz", "tests"})
    for (const auto &entry : fs::recursive_directory_iterator(root / top)) {
      std::string file = entry.path().lexically_relative(root).string();
      if (!file.ends_with(".cpp") && !file.ends_with(".h")) continue;
      std::vector<Include> &list = tree[file];
      std::ifstream in(entry.path());
      std::string line;
      for (int n = 1; std::getline(in, line); ++n)
        if (line.starts_with("#include \"")) {
          std::string header = line.substr(10, line.find('"', 10) - 10);
          if (header.find('/') != std::string::npos) list.push_back({header, n});
        }
    }
  return tree;
}

std::string module_of(const std::string &file) { return file.substr(0, file.rfind('.')); }

// A cycle through `module` in the graph of the game's modules, as "a -> b
// -> a", or empty.
std::string cycle_from(const std::string &module, const std::map<std::string, std::set<std::string>> &graph,
                       std::map<std::string, int> &state, std::vector<std::string> &path) {
  state[module] = 1;  // on the path
  path.push_back(module);
  auto edges = graph.find(module);
  if (edges != graph.end())
    for (const std::string &next : edges->second) {
      if (state[next] == 1) {
        std::string cycle;
        for (auto at = std::find(path.begin(), path.end(), next); at != path.end(); ++at) cycle += *at + " -> ";
        return cycle + next;
      }
      if (state[next] == 0) {
        std::string found = cycle_from(next, graph, state, path);
        if (!found.empty()) return found;
      }
    }
  state[module] = 2;  // done
  path.pop_back();
  return {};
}

}  // namespace

TEST(IncludeRule, EachFileIncludesOnlyItsLayerAndBelow) {
  const auto tree = includes_of_tree(SWARMFIRE_SOURCE_DIR);
  for (const auto &[file, includes] : tree) {
    int layer = layer_of(file);
    ASSERT_GE(layer, 0) << file << " lies in no layer";
    for (const Include &include : includes) {
      int below = layer_of(include.header);
      if (below > layer)
        ADD_FAILURE() << file << ":" << include.line << ": includes " << include.header << " (" << layers[below].name
                      << ") from the layer " << layers[layer].name;
    }
  }
  EXPECT_GT(tree.size(), 200u);
}

TEST(IncludeRule, TheGamesModulesIncludeOneAnotherWithoutACycle) {
  std::map<std::string, std::set<std::string>> graph;
  for (const auto &[file, includes] : includes_of_tree(SWARMFIRE_SOURCE_DIR)) {
    if (layer_of(file) >= TOOLS) continue;
    for (const Include &include : includes)
      if (module_of(include.header) != module_of(file)) graph[module_of(file)].insert(module_of(include.header));
  }
  std::map<std::string, int> state;
  for (const auto &[module, edges] : graph) {
    std::vector<std::string> path;
    if (state[module] == 0) {
      EXPECT_EQ(cycle_from(module, graph, state, path), "");
    }
  }
}
