// Placeholder title: a three-item menu in the library font. Up and Down move,
// Alt chooses; after 1600 frames the demo starts.
#include "screens/title.h"

#include "frame/program.h"
#include "platform/platform.h"

int show_title_screen() {
  static const char *const items[] = {"START", "OPTIONS", "QUIT"};
  platform_clear_screen();
  platform_set_palette(desktop_palette);
  platform_clear_keybuf();
  int selection = 1;
  bool latch = false;
  for (int frames = 1;; ++frames) {
    if (!platform_key(KEY_UP) && !platform_key(KEY_DOWN)) latch = false;
    if (platform_key(KEY_UP) && selection > 1 && !latch) {
      --selection;
      latch = true;
    }
    if (platform_key(KEY_DOWN) && selection < 3 && !latch) {
      ++selection;
      latch = true;
    }
    clear(back_buffer);
    textout_centre_ex(back_buffer, font, "SWARMFIRE", 160, 60, 15, -1);
    for (int i = 0; i < 3; ++i)
      textout_centre_ex(back_buffer, font, items[i], 160, 110 + 30 * i,
                        selection == i + 1 ? 14 : 7, -1);
    present_frame();
    if (frames >= 1600) return 2;
    if (platform_key(KEY_ALT) && selection != 2) {
      platform_clear_keybuf();
      return selection == 1 ? 0 : 1;
    }
  }
}
