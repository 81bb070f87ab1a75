// The include rule, by layers: the platform, then the state of play (the
// shared headers, the record types and the services play asks of the
// program), then play itself (the world, combat, the renderer, the player's
// controls), then the screens, then the program frame, and last the tools
// (tests, benchmarks, fuzzers, the data builder and the gallery). A file
// includes only files of its own layer or below, and the game's files
// include one another without a cycle.
//
// Within the platform, by levels: the seam's headers at the root with the
// folders that have no device (shared/, sys/); the display's logic; the
// recording; the interface a window system gives the real platform; the
// device folders (x11/, win32/, sound/, input/), which never include one
// another; the headless twin; and the compositions at the root (the seam,
// the real platform). The game sees of the platform only the seam
// (platform/platform.h) and shared/, but for the program entry's named
// exceptions; only the tools include the twin's controls, and no tool but
// the tests includes (or, for a script, sources) anything of tests/. A
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
    {"tools", {"data/", "dist/", "bench/", "fuzz/", "tests/", "tools/"}},
};
constexpr int TOOLS = 5;

// How particular a place is for a file, or -1 when it does not name it.
int match(const std::string &place, const std::string &file) {
  std::string stem = file.substr(0, file.rfind('.'));
  if (place == "_records") return stem.ends_with(place) ? 1000 : -1;
  if (place.ends_with("/")) return file.starts_with(place) ? static_cast<int>(place.size()) : -1;
  return stem == place ? 1000 : -1;
}

// The rank of a file in a table of layers (or of the platform's levels),
// or -1 for one the table does not place.
template <size_t N>
int rank_in(const Layer (&table)[N], const std::string &file) {
  int best = -1, rank = -1;
  for (int l = 0; l < static_cast<int>(N); ++l)
    for (const std::string &place : table[l].places)
      if (int m = match(place, file); m > best) best = m, rank = l;
  return rank;
}
int layer_of(const std::string &file) { return rank_in(layers, file); }

struct Include {
  std::string header;
  int line;
};

// A script's `source "$(dirname "$0")/PATH"` (or "$here/PATH", the
// script's folder) as a path from the tree's root, or "" for another line.
std::string sourced(const std::string &script, const std::string &line) {
  if (!line.starts_with("source \"")) return {};
  std::string path = line.substr(8, line.rfind('"') - 8);
  for (const char *folder : {"$(dirname \"$0\")/", "$here/"})
    if (path.starts_with(folder))
      return (fs::path(script).parent_path() / path.substr(std::string(folder).size())).lexically_normal().generic_string();
  return {};
}

// Every file of the tree's layers, with its includes of the tree's files
// (and a script's, the scripts it sources).
std::map<std::string, std::vector<Include>> includes_of_tree(const fs::path &root) {
  std::map<std::string, std::vector<Include>> tree;
  for (const char *top :
       {"platform", "world", "combat", "render", "screens", "frame", "data", "dist", "bench", "fuzz", "tests", "tools"})
    for (const auto &entry : fs::recursive_directory_iterator(root / top)) {
      std::string file = entry.path().lexically_relative(root).generic_string();
      bool script = file.ends_with(".sh");
      if (!file.ends_with(".cpp") && !file.ends_with(".h") && !script) continue;
      std::vector<Include> &list = tree[file];
      std::ifstream in(entry.path());
      std::string line;
      for (int n = 1; std::getline(in, line); ++n)
        if (script) {
          if (std::string path = sourced(file, line); !path.empty()) list.push_back({path, n});
        } else if (line.starts_with("#include \"")) {
          std::string header = line.substr(10, line.find('"', 10) - 10);
          if (header.find('/') != std::string::npos) list.push_back({header, n});
        }
    }
  return tree;
}

// The platform's levels, lowest first, by the most particular place as
// above ("platform/" alone: the compositions at the root). Device folders
// share a level and never include one another.
const Layer platform_levels[] = {
    {"seam headers and no device",
     {"platform/platform", "platform/platform_ops", "platform/waits", "platform/shared/", "platform/sys/"}},
    {"display", {"platform/display/"}},
    {"recording", {"platform/recording/"}},
    {"the window system's interface", {"platform/window_system"}},
    {"devices", {"platform/x11/", "platform/win32/", "platform/sound/", "platform/input/"}},
    {"twin", {"platform/headless/"}},
    {"compositions", {"platform/"}},
};
constexpr int DEVICES = 4;

std::string folder_of(const std::string &file) { return file.substr(0, file.rfind('/') + 1); }

// What the game may include of the platform: the seam and the shared
// folder; the program entry also starts the process's streams and signals
// and the recorded runs, and the replay's unseen frames and kept states.
bool game_may_include(const std::string &file, const std::string &header) {
  if (header == "platform/platform.h" || header.starts_with("platform/shared/")) return true;
  static const std::multimap<std::string, std::string> exceptions = {
      {"frame/main.cpp", "platform/sys/standard_streams.h"},
      {"frame/main.cpp", "platform/sys/stop_signals.h"},
      {"frame/recorded_run.cpp", "platform/sys/standard_streams.h"},
      {"frame/recorded_run.cpp", "platform/recording/input_log.h"},
      {"frame/recorded_run.cpp", "platform/recording/recording_writer.h"},
      {"frame/recorded_run.cpp", "platform/recording/viewer.h"},
      {"frame/recorded_run.cpp", "platform/recording/viewer_marks.h"},
      {"frame/replay_snapshots.cpp", "platform/recording/input_log.h"},
      {"frame/replay_snapshots.cpp", "platform/recording/viewer.h"},
      {"frame/unseen_frames.cpp", "platform/recording/input_log.h"},
      {"frame/unseen_frames.cpp", "platform/recording/viewer.h"},
  };
  auto [from, to] = exceptions.equal_range(file);
  for (auto at = from; at != to; ++at)
    if (at->second == header) return true;
  return false;
}

bool is_twins_control(const std::string &header) {
  return header == "platform/headless/headless_controls.h" || header == "platform/headless/key_script.h";
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

// Every include of the tree against the layers, the platform's levels and
// what the game may see of the platform and the tools of the twin and the
// tests.
TEST(IncludeRule, EachFileIncludesItsLayerAndBelowAndThePlatformItsLevelAndTheSeamAlone) {
  const auto tree = includes_of_tree(SWARMFIRE_SOURCE_DIR);
  for (const auto &[file, includes] : tree) {
    int layer = layer_of(file), level = rank_in(platform_levels, file);
    ASSERT_GE(layer, 0) << file << " lies in no layer";
    bool game = layer > 0 && layer < TOOLS;
    for (const auto &[h, line] : includes) {
      const std::string at = file + ":" + std::to_string(line) + ": includes " + h;
      if (int below = layer_of(h); below > layer)
        ADD_FAILURE() << at << " (" << layers[below].name << ") from the layer " << layers[layer].name;
      if (file.starts_with("platform/") && h.starts_with("platform/")) {
        int below = rank_in(platform_levels, h);
        bool sibling = level == DEVICES && below == DEVICES && folder_of(file) != folder_of(h);
        if (below > level || sibling)
          ADD_FAILURE() << at << " (" << (sibling ? "another device" : platform_levels[below].name) << ") from "
                        << platform_levels[level].name;
      }
      if ((game && h.starts_with("platform/") && !game_may_include(file, h)) ||
          (is_twins_control(h) && layer < TOOLS && !file.starts_with("platform/headless/")) ||
          (h.starts_with("tests/") && !file.starts_with("tests/")))
        ADD_FAILURE() << at;
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
