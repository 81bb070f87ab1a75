// Where the datafiles are looked for: the environment's folder, the working
// directory, the installed folder.
#include "frame/data_path.h"
#include "install_dirs.h"
#include "tests/support/data_files.h"
#include "tests/support/headless_game.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

class DataPathTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    start_ = std::filesystem::current_path();
    unsetenv("SWARMFIRE_DATA");
  }
  void TearDown() override {
    std::filesystem::current_path(start_);
    unsetenv("SWARMFIRE_DATA");
    HeadlessTest::TearDown();
  }
  std::filesystem::path start_;
};

}  // namespace

TEST_F(DataPathTest, TheEnvironmentNamesTheFolderEvenWhereTheWorkingDirectoryHoldsData) {
  ScratchFolder elsewhere;
  setenv("SWARMFIRE_DATA", elsewhere.path.c_str(), 1);
  EXPECT_EQ(data_folder(), elsewhere.path);
  EXPECT_EQ(data_path("level4.dat"), elsewhere.path + "/level4.dat");
  setenv("SWARMFIRE_DATA", "", 1);  // empty counts as unset
  EXPECT_EQ(data_folder(), start_.string());
}

TEST_F(DataPathTest, AWorkingDirectoryWithAnyOneDatafileIsUsed) {
  ScratchFolder here;
  std::filesystem::current_path(here.path);
  write_bytes(here.file("enddat.dat"), {1});  // a broken one still counts
  EXPECT_EQ(data_folder(), std::filesystem::current_path().string());
  std::filesystem::remove(here.file("enddat.dat"));
  std::filesystem::create_directory(here.file("sound.dat"));  // not a file
  EXPECT_EQ(data_folder(), SWARMFIRE_INSTALLED_DATA_DIR);
}
