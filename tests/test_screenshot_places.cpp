// Where F12 puts "dump.pcx": the working directory when it can be written,
// else the player's pictures folder, else the home folder.
#include "frame/controls.h"
#include "platform/platform.h"
#include "tests/support/data_files.h"
#include "tests/support/headless_game.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

TEST(ScreenshotPlaces, TheWorkingDirectoryElseThePicturesFolderElseHomeElseAFailureNotACrash) {
  headless::reset();
  platform_open_display(DisplayRequest{1});
  ScratchFolder scratch;
  const fs::path start = fs::current_path(), here = fs::path(scratch.path) / "here";
  const fs::path pictures = fs::path(scratch.path) / "pictures", home = fs::path(scratch.path) / "home";
  for (const fs::path &folder : {here, pictures, home}) fs::create_directory(folder);
  setenv("XDG_PICTURES_DIR", pictures.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
  fs::current_path(here);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::exists(here / "dump.pcx"));
  EXPECT_FALSE(fs::exists(pictures / "dump.pcx") || fs::exists(home / "dump.pcx"));
  // A working directory nobody can write to, not even root: one that has
  // been removed since the game entered it.
  fs::remove_all(here);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::exists(pictures / "dump.pcx"));
  EXPECT_FALSE(fs::exists(home / "dump.pcx"));
  setenv("XDG_PICTURES_DIR", (pictures / "missing").c_str(), 1);
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::remove(home / "dump.pcx"));
  unsetenv("XDG_PICTURES_DIR");
  EXPECT_EQ(save_screenshot(), 0);
  EXPECT_TRUE(fs::remove(home / "dump.pcx"));
  setenv("XDG_PICTURES_DIR", "", 1);
  setenv("HOME", (home / "missing").c_str(), 1);
  EXPECT_EQ(save_screenshot(), 1);
  fs::current_path(start);
  headless::reset();
}
