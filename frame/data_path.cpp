#include "frame/data_path.h"

#include "frame/catalogue.h"
#include "frame/datafile_check.h"
// The install folders, written by the build from the install prefix; a
// build that does not make it gets the default prefix's.
#if __has_include("install_dirs.h")
#include "install_dirs.h"
#else
#define SWARMFIRE_INSTALLED_DATA_DIR "/usr/local/share/games/swarmfire"
#define SWARMFIRE_DATA_FROM_BINARY "../share/games/swarmfire"
#endif

#include "platform/shared/environment.h"
#include "platform/shared/files.h"
#include "platform/shared/printable.h"
#include "platform/shared/whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// Empty when the path names a folder, else why not.
std::string not_a_folder(const std::string &path) {
  FileKind kind = file_kind(path);
  if (kind == FileKind::None) return std::strerror(errno);
  return kind == FileKind::Folder ? "" : "not a folder";
}

// Empty when all eight datafiles in the folder can be read, else the first
// that cannot and why.
std::string folder_problem(const std::string &folder) {
  std::string why = not_a_folder(folder);
  if (!why.empty()) return why;
  for (const char *file : DATAFILE_NAMES) {
    why = regular_file_problem(folder + "/" + file);
    if (!why.empty()) return std::string(file) + ": " + why;
  }
  return {};
}

std::string working_directory() {
  std::error_code error;
  fs::path here = fs::current_path(error);
  return error ? "." : utf8_of(here);
}

std::vector<std::string> folders_to_try_here() {
  return data_folders_to_try(executable_path(), working_directory());
}

}  // namespace

std::vector<std::string> data_folders_to_try(const std::string &binary,
                                             const std::string &working_directory) {
  std::vector<fs::path> candidates = {path_of(working_directory)};
  if (!binary.empty()) {
    fs::path beside = path_of(binary).parent_path();
    candidates.push_back(beside / "data");
    candidates.push_back(beside / SWARMFIRE_DATA_FROM_BINARY);
  }
  if (*SWARMFIRE_INSTALLED_DATA_DIR) candidates.push_back(SWARMFIRE_INSTALLED_DATA_DIR);
  std::vector<std::string> folders;
  for (const fs::path &candidate : candidates) {
    std::string folder = utf8_of(candidate.lexically_normal());
    if (folder.size() > 1 && (folder.back() == '/' || folder.back() == char(fs::path::preferred_separator))) folder.pop_back();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  return folders;
}

std::string folder_holding_all(const std::vector<std::string> &folders) {
  for (const std::string &folder : folders)
    if (folder_problem(folder).empty()) return folder;
  return {};
}

std::string data_folder() {
  std::string chosen = environment("SWARMFIRE_DATA");
  if (!chosen.empty()) return chosen;
  std::vector<std::string> folders = folders_to_try_here();
  std::string found = folder_holding_all(folders);
  return found.empty() ? folders.back() : found;
}

std::string data_folder_problem() {
  std::string chosen = environment("SWARMFIRE_DATA");
  if (!chosen.empty()) {
    std::string why = not_a_folder(chosen);
    if (why.empty()) return {};
    return "SWARMFIRE_DATA names " + printable(chosen) + ": " + why;
  }
  std::vector<std::string> folders = folders_to_try_here();
  if (!folder_holding_all(folders).empty()) return {};
  std::string tried;
  for (const std::string &folder : folders)
    tried += (tried.empty() ? "" : ", ") + printable(folder) + " (" + folder_problem(folder) + ")";
  return "no folder holds all eight datafiles readable (looked in " + tried +
         "); SWARMFIRE_DATA may name theirs";
}

std::string data_path(const char *file) { return utf8_of(path_of(data_folder()) / file); }
