// Where the datafiles are looked for: the environment's folder, the working
// directory, the installed folder.
#include "frame/data_path.h"
#include "install_dirs.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(DataPath, TheEnvironmentsFolderElseAWorkingDirectoryWithAnyOneDatafileElseTheInstalledFolder) {
  const std::filesystem::path start = std::filesystem::current_path();  // build/data, which holds them
  ScratchFolder elsewhere, here;
  setenv("SWARMFIRE_DATA", elsewhere.path.c_str(), 1);
  EXPECT_EQ(data_folder(), elsewhere.path);
  EXPECT_EQ(data_path("level4.dat"), elsewhere.path + "/level4.dat");
  setenv("SWARMFIRE_DATA", "", 1);  // empty counts as unset
  EXPECT_EQ(data_folder(), start.string());
  unsetenv("SWARMFIRE_DATA");
  std::filesystem::current_path(here.path);
  write_bytes(here.file("enddat.dat"), {1});  // a broken one still counts
  EXPECT_EQ(data_folder(), std::filesystem::current_path().string());
  std::filesystem::remove(here.file("enddat.dat"));
  std::filesystem::create_directory(here.file("sound.dat"));  // not a file
  EXPECT_EQ(data_folder(), SWARMFIRE_INSTALLED_DATA_DIR);
  std::filesystem::current_path(start);
}
