// F12: the top-left 320 x 240 pixels of the screen, with the level palette,
// into "dump.pcx" in the working directory.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "platform/platform.h"

int save_screenshot() {
  BITMAP *shot = create_sub_bitmap(platform_screen(), 0, 0, 320, 240);
  if (!shot) return 1;
  int failed = save_bitmap("dump.pcx", shot, level_palette());
  destroy_bitmap(shot);
  return failed ? 1 : 0;
}
