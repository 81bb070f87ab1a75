#include "platform/shared/environment.h"

#include "platform/shared/files.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The value of a line XDG_PICTURES_DIR="..." as xdg-user-dirs writes it:
// "$HOME/..." or an absolute path, with \ escaping the next character.
std::string user_dirs_value(const char *line, const std::string &home) {
  const char *at = line + std::strspn(line, " \t");
  const char key[] = "XDG_PICTURES_DIR=\"";
  if (std::strncmp(at, key, sizeof key - 1) != 0) return {};
  at += sizeof key - 1;
  std::string value;
  if (std::strncmp(at, "$HOME", 5) == 0 && (at[5] == '/' || at[5] == '"')) {
    value = home;
    at += 5;
  }
  for (; *at && *at != '"'; ++at) {
    if (*at == '\\' && at[1]) ++at;
    value += *at;
  }
  return value;
}

// The pictures folder in the desktop's user-dirs.dirs, or empty.
std::string pictures_folder_of_desktop(const std::string &home) {
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = home + "/.config";
  if (config.empty()) return {};
  std::FILE *dirs = open_file(config + "/user-dirs.dirs", "rb");
  if (!dirs) return {};
  std::string folder;
  char line[4096];
  while (folder.empty() && std::fgets(line, sizeof line, dirs)) folder = user_dirs_value(line, home);
  std::fclose(dirs);
  return folder;
}

}  // namespace

std::string environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

std::string executable_path() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  return n > 0 && size_t(n) < sizeof path ? std::string(path, size_t(n)) : std::string();
}

std::string home_folder() { return environment("HOME"); }

// The way desktops define it: $XDG_PICTURES_DIR, else its line in
// $XDG_CONFIG_HOME/user-dirs.dirs (~/.config by default), else ~/Pictures
// when there is one.
std::string pictures_folder() {
  std::string home = home_folder();
  std::string folder = environment("XDG_PICTURES_DIR");
  if (folder.empty()) folder = pictures_folder_of_desktop(home);
  if (folder.empty() && !home.empty() && file_kind(home + "/Pictures") == FileKind::Folder) folder = home + "/Pictures";
  return folder;
}
