// The saved cases of the datafile fuzzer (tests/fuzz_cases/*.bin): inputs on
// which the library's loader stalled, lost memory or gave the game a sound
// it would read past. The start-up check must refuse each of them under
// every datafile name, before load_datafile sees it. The sanitized target
// replays the same files (the fuzz_replay test).
#include "frame/datafile_check.h"
#include "tests/support/headless_controls.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

std::vector<std::filesystem::path> saved_cases() {
  std::vector<std::filesystem::path> cases;
  for (const auto &entry : std::filesystem::directory_iterator(SWARMFIRE_SOURCE_DIR "/tests/fuzz_cases"))
    if (entry.path().extension() == ".bin") cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  return cases;
}

// Why each known case is refused when it stands as "sound.dat".
const std::map<std::string, std::string> reasons = {
    {"end-marker-property.bin", "cannot be read (property with the end-of-list id, in object 0)"},
    {"many-objects.bin", "cannot be read (more than 1024 objects)"},
    {"many-properties.bin", "cannot be read (more than 64 properties, in object 0)"},
    {"sample-at-0-hz.bin", "cannot be read (sample at 0 Hz, in object 3)"},
    {"short-looped-tune.bin", "object 7 should be a sample of at least a tenth of a second (it plays looped)"},
};

}  // namespace

TEST(FuzzCases, EverySavedCaseIsRefusedUnderEveryName) {
  headless::init_library();
  ScratchFolder folder;
  std::vector<std::filesystem::path> cases = saved_cases();
  ASSERT_GE(cases.size(), reasons.size());
  for (const auto &path : cases) {
    std::vector<uint8_t> bytes = read_bytes(path.string());
    for (const char *name : datafile_names) {
      ASSERT_TRUE(write_bytes(folder.file(name), bytes));
      std::string problem = datafile_problem(folder.path, name);
      EXPECT_FALSE(problem.empty()) << path.filename() << " accepted as " << name;
      auto known = reasons.find(path.filename().string());
      if (known != reasons.end() && std::string(name) == "sound.dat") {
        EXPECT_EQ(problem, known->second) << path.filename();
      }
    }
  }
}
