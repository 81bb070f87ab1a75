// Where F12 puts "dump.pcx": the working directory when it can be written,
// else the player's pictures folder, else the home folder.
#include "frame/controls.h"
#include "platform/platform.h"
#include "tests/support/data_files.h"
#include "tests/support/headless_game.h"

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class ScreenshotPlacesTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform_set_gfx_mode(320, 240);
    start_ = fs::current_path();
    fs::create_directory(pictures());
    fs::create_directory(home());
    setenv("XDG_PICTURES_DIR", pictures().c_str(), 1);
    setenv("HOME", home().c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(start_);
    HeadlessTest::TearDown();
  }
  fs::path pictures() const { return fs::path(scratch_.path) / "pictures"; }
  fs::path home() const { return fs::path(scratch_.path) / "home"; }
  ScratchFolder scratch_;
  fs::path start_;
};

}  // namespace

TEST_F(ScreenshotPlacesTest, TheWorkingDirectoryElseThePicturesFolderElseHomeElseAFailureNotACrash) {
  fs::path here = fs::path(scratch_.path) / "here";
  fs::create_directory(here);
  fs::current_path(here);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::exists(here / "dump.pcx"));
  EXPECT_FALSE(fs::exists(pictures() / "dump.pcx") || fs::exists(home() / "dump.pcx"));
  // A working directory nobody can write to, not even root: one that has
  // been removed since the game entered it.
  fs::remove_all(here);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::exists(pictures() / "dump.pcx"));
  EXPECT_FALSE(fs::exists(home() / "dump.pcx"));
  setenv("XDG_PICTURES_DIR", (pictures() / "missing").c_str(), 1);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::remove(home() / "dump.pcx"));
  unsetenv("XDG_PICTURES_DIR");
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::remove(home() / "dump.pcx"));
  setenv("XDG_PICTURES_DIR", "", 1);
  setenv("HOME", (home() / "missing").c_str(), 1);
  EXPECT_EQ(save_screenshot(), 1);
}
