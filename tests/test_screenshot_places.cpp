// Where F12 puts "dump.pcx": the working directory when it can be written,
// else the player's pictures folder (from the environment, the desktop's
// user-dirs.dirs or ~/Pictures), else the home folder. It is written on
// every tick F12 is held, and in a window at scale 2 it is still the whole
// 320 x 240 picture last presented, not the corner of the window.
#include "data/stand_in_datafiles.h"
#include "frame/controls.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "tests/support/headless_game.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST_F(HeadlessTest, F12WritesThePictureToTheWorkingDirectoryElsePicturesElseHomeElseFailsWithoutACrash) {
  platform_open_display(DisplayRequest{2});
  make_frame_bitmaps();
  clear_to_color(back_buffer, 6);
  rectfill(back_buffer, 0, 0, 159, 119, 5);
  present_frame();
  ScratchFolder scratch;
  const fs::path start = fs::current_path(), here = fs::path(scratch.path) / "here";
  const fs::path pictures = fs::path(scratch.path) / "pictures", home = fs::path(scratch.path) / "home";
  const fs::path config = fs::path(scratch.path) / "config", bilder = home / "Bilder \"neu\"";
  for (const fs::path &folder : {here, pictures, home, config, bilder}) fs::create_directory(folder);
  setenv("XDG_PICTURES_DIR", pictures.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
  // Saved at a tick with F12 held, and found in `folder` (and taken away
  // for the next).
  headless::hold(KEY_F12);
  auto saved_in = [](const fs::path &folder) {
    controls_step();
    return fs::remove(folder / "dump.pcx");
  };
  fs::current_path(here);
  controls_step();
  PALETTE palette;
  BITMAP *shot = load_pcx("dump.pcx", palette);
  EXPECT_TRUE(shot && shot->w == 320 && getpixel(shot, 159, 119) == 5 && getpixel(shot, 319, 239) == 6);
  if (shot) destroy_bitmap(shot);
  EXPECT_TRUE(saved_in(here));
  EXPECT_FALSE(fs::exists(pictures / "dump.pcx") || fs::exists(home / "dump.pcx"));
  // A working directory nobody can write to, not even root: one that has
  // been removed since the game entered it.
  fs::remove_all(here);
  EXPECT_TRUE(saved_in(pictures));
  // Where desktops keep it: in user-dirs.dirs, relative to home or absolute.
  unsetenv("XDG_PICTURES_DIR");
  std::ofstream(config / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                           << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                           << "XDG_PICTURES_DIR=\"$HOME/Bilder \\\"neu\\\"\"\n";
  EXPECT_TRUE(saved_in(bilder));
  unsetenv("XDG_CONFIG_HOME");
  fs::create_directory(home / ".config");
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << pictures.string() << "\"\n";
  EXPECT_TRUE(saved_in(pictures));
  fs::remove(home / ".config/user-dirs.dirs");
  fs::create_directory(home / "Pictures");
  EXPECT_TRUE(saved_in(home / "Pictures"));
  fs::remove(home / "Pictures");
  // A pictures folder that cannot be written, then none at all: home.
  setenv("XDG_PICTURES_DIR", (pictures / "missing").c_str(), 1);
  EXPECT_TRUE(saved_in(home));
  unsetenv("XDG_PICTURES_DIR");
  EXPECT_TRUE(saved_in(home));
  setenv("HOME", (home / "missing").c_str(), 1);
  EXPECT_EQ(save_screenshot(), 1);
  fs::current_path(start);
}
