// Where the datafiles are looked for: the environment's folder, else the
// first folder that holds all eight readable (the working directory, the
// build's data folder beside the binary, the installed folder beside it,
// the configured one); and why a folder or a file is refused.
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "install_dirs.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

TEST(DataPath, TheEnvironmentsFolderElseTheFirstFolderThatHoldsAllEight) {
  const fs::path start = fs::current_path();  // build/data, which holds them
  ScratchFolder elsewhere, here, root;
  setenv("SWARMFIRE_DATA", elsewhere.path.c_str(), 1);  // chosen, though empty
  EXPECT_EQ(data_path("level4.dat"), elsewhere.path + "/level4.dat");
  EXPECT_EQ(data_folder_problem(), "");
  setenv("SWARMFIRE_DATA", "", 1);  // empty counts as unset
  EXPECT_EQ(data_folder(), start.string());
  unsetenv("SWARMFIRE_DATA");

  // The lookup of an installed tree unpacked under another root.
  const std::string binary = root.path + "/games/swarmfire";
  const std::string installed = root.path + "/share/games/swarmfire";
  const std::vector<std::string> folders = data_folders_to_try(binary, here.path);
  EXPECT_EQ(folders, (std::vector<std::string>{here.path, root.path + "/games/data", installed,
                                               SWARMFIRE_INSTALLED_DATA_DIR}));
  const std::vector<std::string> ours(folders.begin(), folders.end() - 1);
  fs::create_directories(installed);
  for (const char *file : DATAFILE_NAMES)
    if (std::string(file) != "enddat.dat") write_bytes(installed + "/" + file, {1});
  EXPECT_EQ(folder_holding_all(ours), "");
  write_bytes(installed + "/enddat.dat", {1});
  EXPECT_EQ(folder_holding_all(ours), installed);
  for (const char *file : DATAFILE_NAMES) write_bytes(here.file(file), {1});
  EXPECT_EQ(folder_holding_all(ours), here.path);
  // The same folder reached two ways is looked in once.
  EXPECT_EQ(data_folders_to_try(root.path + "/bin/swarmfire", root.path + "/bin/data/").size(), 3u);
}

namespace {

// Whether `check` holds for a user without privileges: as root (who reads
// any file) in a child process turned into the user nobody.
bool holds_unprivileged(const std::function<bool()> &check) {
  if (geteuid() != 0) return check();
  pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(DataPath, AFolderServesOnlyWhenAllEightCanBeReadAndEveryRefusalSaysWhy) {
  ScratchFolder scratch, here, other;
  const std::string file = scratch.file("file"), loop = scratch.file("loop");
  write_bytes(file, {1});
  fs::create_symlink("loop", loop);
  setenv("SWARMFIRE_DATA", file.c_str(), 1);
  EXPECT_EQ(data_folder_problem(), "SWARMFIRE_DATA names " + file + ": not a folder");
  setenv("SWARMFIRE_DATA", loop.c_str(), 1);
  EXPECT_EQ(data_folder_problem(), "SWARMFIRE_DATA names " + loop + ": Too many levels of symbolic links");
  unsetenv("SWARMFIRE_DATA");

  // A FIFO or a folder under a datafile's name: refused at once.
  ASSERT_EQ(mkfifo(scratch.file("sound.dat").c_str(), 0600), 0);
  fs::create_directory(scratch.file("title.dat"));
  EXPECT_EQ(datafile_problem(scratch.path, "sound.dat"), "cannot be read (not a regular file)");
  EXPECT_EQ(datafile_problem(scratch.path, "title.dat"), "cannot be read (not a regular file)");

  // All eight names in the first folder, one of them unreadable: the next.
  for (const ScratchFolder *folder : {&here, &other}) {
    fs::permissions(folder->path, fs::perms(0755));
    for (const char *name : DATAFILE_NAMES) write_bytes(folder->file(name), {1});
  }
  fs::permissions(here.file("level7.dat"), fs::perms::none);
  EXPECT_TRUE(holds_unprivileged([&] { return folder_holding_all({here.path, other.path}) == other.path; }));
}
