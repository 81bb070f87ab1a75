#include "frame/data_path.h"

#include "frame/datafile_check.h"
// The install folders, written by the build from the install prefix; a
// build that does not make it gets the default prefix's.
#if __has_include("install_dirs.h")
#include "install_dirs.h"
#else
#define SWARMFIRE_INSTALLED_DATA_DIR "/usr/local/share/games/swarmfire"
#define SWARMFIRE_DATA_FROM_BINARY "../share/games/swarmfire"
#endif

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

bool holds_a_datafile(const fs::path &folder) {
  std::error_code error;
  for (const char *file : datafile_names)
    if (fs::is_regular_file(folder / file, error)) return true;
  return false;
}

fs::path working_directory() {
  std::error_code error;
  fs::path here = fs::current_path(error);
  return error ? fs::path(".") : here;
}

// The data folder of an installed tree, found from where the binary is.
fs::path data_beside_binary() {
  std::error_code error;
  fs::path binary = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return (binary.parent_path() / SWARMFIRE_DATA_FROM_BINARY).lexically_normal();
}

}  // namespace

std::string data_folder() {
  const char *chosen = std::getenv("SWARMFIRE_DATA");
  if (chosen && *chosen) return chosen;
  fs::path here = working_directory();
  if (holds_a_datafile(here)) return here.string();
  fs::path installed = data_beside_binary();
  if (!installed.empty() && holds_a_datafile(installed)) return installed.string();
  return SWARMFIRE_INSTALLED_DATA_DIR;
}

std::string data_path(const char *file) { return (fs::path(data_folder()) / file).string(); }
