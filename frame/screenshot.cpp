// F12: the top-left 320 x 240 pixels of the screen, with the level palette,
// into "dump.pcx" in the working directory. Where that cannot be written (a
// game started from a read-only folder), the picture goes to the player's
// pictures folder instead, else to their home folder. A recording replayed
// (watched or checked) writes nothing: F12 held in it is passed over.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

std::string environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

bool is_folder(const std::string &path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

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
  FILE *dirs = std::fopen((config + "/user-dirs.dirs").c_str(), "r");
  if (!dirs) return {};
  std::string folder;
  char line[4096];
  while (folder.empty() && std::fgets(line, sizeof line, dirs)) folder = user_dirs_value(line, home);
  std::fclose(dirs);
  return folder;
}

// The pictures folder the way desktops define it: $XDG_PICTURES_DIR, else
// its line in $XDG_CONFIG_HOME/user-dirs.dirs (~/.config by default), else
// ~/Pictures when there is one.
std::string pictures_folder(const std::string &home) {
  std::string folder = environment("XDG_PICTURES_DIR");
  if (folder.empty()) folder = pictures_folder_of_desktop(home);
  if (folder.empty() && !home.empty() && is_folder(home + "/Pictures")) folder = home + "/Pictures";
  return folder;
}

}  // namespace

int save_screenshot() {
  if (platform_replaying()) return 1;
  BITMAP *shot = create_sub_bitmap(platform_screen(), 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  if (!shot) return 1;
  std::string home = environment("HOME");
  const std::string places[3] = {".", pictures_folder(home), home};
  int failed = 1;
  for (const std::string &place : places)
    if (failed && !place.empty())
      failed = save_bitmap((place + "/dump.pcx").c_str(), shot, level_palette());
  destroy_bitmap(shot);
  return failed ? 1 : 0;
}
