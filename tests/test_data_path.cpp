// Where the datafiles are looked for: the environment's folder, else the
// first folder that holds all eight (the working directory, the build's data
// folder beside the binary, the installed folder beside it, the configured
// one).
#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "install_dirs.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

TEST(DataPath, TheEnvironmentsFolderElseTheFirstFolderThatHoldsAllEight) {
  const fs::path start = fs::current_path();  // build/data, which holds them
  ScratchFolder elsewhere, here, root;
  setenv("SWARMFIRE_DATA", elsewhere.path.c_str(), 1);  // chosen, though empty
  EXPECT_EQ(data_folder(), elsewhere.path);
  EXPECT_EQ(data_path("level4.dat"), elsewhere.path + "/level4.dat");
  EXPECT_EQ(data_folder_problem(), "");
  setenv("SWARMFIRE_DATA", "", 1);  // empty counts as unset
  EXPECT_EQ(data_folder(), start.string());
  unsetenv("SWARMFIRE_DATA");

  // Some other program's sound.dat in the working directory: the game's own
  // data folder beside its binary serves.
  fs::current_path(here.path);
  write_bytes(here.file("sound.dat"), {1});
  EXPECT_EQ(fs::path(data_folder()), fs::path(SWARMFIRE_DATA_DIR).lexically_normal());
  EXPECT_EQ(data_folder_problem(), "");
  fs::current_path(start);

  // The lookup of an installed tree unpacked under another root.
  const std::string binary = root.path + "/games/swarmfire";
  const std::string installed = root.path + "/share/games/swarmfire";
  const std::vector<std::string> folders = data_folders_to_try(binary, here.path);
  EXPECT_EQ(folders, (std::vector<std::string>{here.path, root.path + "/games/data", installed,
                                               SWARMFIRE_INSTALLED_DATA_DIR}));
  const std::vector<std::string> ours(folders.begin(), folders.end() - 1);
  fs::create_directories(installed);
  for (const char *file : datafile_names)
    if (std::string(file) != "enddat.dat") write_bytes(installed + "/" + file, {1});
  EXPECT_EQ(folder_holding_all(ours), "");
  write_bytes(installed + "/enddat.dat", {1});
  EXPECT_EQ(folder_holding_all(ours), installed);
  for (const char *file : datafile_names) write_bytes(here.file(file), {1});
  EXPECT_EQ(folder_holding_all(ours), here.path);
  // The same folder reached two ways is looked in once.
  EXPECT_EQ(data_folders_to_try(root.path + "/bin/swarmfire", root.path + "/bin/data/").size(), 3u);
}
