// Where the datafiles are looked for: the environment's folder, the working
// directory, the installed folder; and a game that reads all it needs from
// a folder other than the one it runs in.
#include "frame/data_path.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "install_dirs.h"
#include "screens/title.h"
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

TEST_F(DataPathTest, AGameRunsFromAnEmptyWorkingDirectoryOnTheNamedFolder) {
  ScratchFolder here;
  std::filesystem::current_path(here.path);
  setenv("SWARMFIRE_DATA", SWARMFIRE_DATA_DIR, 1);
  bool played = false;
  KeyScript()
      .hold(KEY_ALT, 3, 4)  // start a game, end it at once with Esc
      .on_event([&](const headless::Event &e) {
        if (headless::timer_installed() && level_data) played = true;
        headless::hold(KEY_ESC, headless::timer_installed());
        if (!played) return;
        if (e.kind == headless::Wait::ReadKey || e.frame % 50 == 0) headless::press(KEY_SPACE);
        if (title_data) headless::request_close();  // back on the title
      })
      .install();
  EXPECT_EQ(game_main(), 0);
  EXPECT_TRUE(played);
  EXPECT_FALSE(headless::samples().empty());
}
