// F12: the top-left 320 x 240 pixels of the screen, with the level palette,
// into "dump.pcx" in the working directory. Where that cannot be written (a
// game started from a read-only folder), the picture goes to the player's
// own places instead: $XDG_PICTURES_DIR, else $HOME.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int SCREENSHOT_PLACES = 3;
const char *const place_variables[SCREENSHOT_PLACES] = {nullptr, "XDG_PICTURES_DIR", "HOME"};

// Path of "dump.pcx" in place k; false when that place is not set.
bool screenshot_path(int k, char *path, int size) {
  if (!place_variables[k]) return std::snprintf(path, size, "dump.pcx") < size;
  const char *folder = std::getenv(place_variables[k]);
  if (!folder || !*folder) return false;
  return std::snprintf(path, size, "%s/dump.pcx", folder) < size;
}

}  // namespace

int save_screenshot() {
  BITMAP *shot = create_sub_bitmap(platform_screen(), 0, 0, 320, 240);
  if (!shot) return 1;
  char path[4096];
  int failed = 1;
  for (int k = 0; k < SCREENSHOT_PLACES && failed; ++k)
    if (screenshot_path(k, path, sizeof path)) failed = save_bitmap(path, shot, level_palette());
  destroy_bitmap(shot);
  return failed ? 1 : 0;
}
