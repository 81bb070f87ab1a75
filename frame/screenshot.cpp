// F12: the top-left 320 x 240 pixels of the screen, with the level palette,
// into "dump.pcx" in the working directory. Where that cannot be written (a
// game started from a read-only folder), the picture goes to the player's
// pictures folder instead, else to their home folder. A recording replayed
// (watched or checked) writes nothing: F12 held in it is passed over.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "platform/platform.h"
#include "platform/shared/environment.h"

#include <string>

int save_screenshot() {
  if (platform_replaying()) return 1;
  BITMAP *shot = create_sub_bitmap(platform_screen(), 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  if (!shot) return 1;
  const std::string places[3] = {".", pictures_folder(), home_folder()};
  int failed = 1;
  for (const std::string &place : places)
    if (failed && !place.empty())
      failed = save_bitmap((place + "/dump.pcx").c_str(), shot, level_palette());
  destroy_bitmap(shot);
  return failed ? 1 : 0;
}
