// Gallery scenes of the title: the menu with each item chosen, the options
// screen with its spotlight on two rows, and the bonus screen.
#include "data/gallery/gallery.h"

#include "screens/bonus_screen.h"
#include "screens/title.h"

namespace {

const char *const TITLE = "Title and menus";

void menu_scene() {
  begin_scene();
  SceneScript()
      .capture(8, "title_start", "Title, \"start\" highlighted", TITLE)
      .hold(KEY_DOWN, 12, 13)
      .capture(20, "title_options", "Title, \"options\" highlighted", TITLE)
      .hold(KEY_DOWN, 24, 25)
      .capture(32, "title_quit", "Title, \"quit\" highlighted", TITLE)
      .hold(KEY_ALT, 36, 37)
      .install();
  show_title_screen();
}

// Down to "options", in, spotlight on row 0, then down to row 3 and switch
// it off; Esc back to the title, down to "quit" and out.
void options_scene() {
  begin_scene();
  SceneScript()
      .hold(KEY_DOWN, 4, 5)
      .hold(KEY_ALT, 8, 8)  // released before the options screen reads it
      .capture(20, "options_glow", "Options, spotlight on \"glow\" (all on)", TITLE)
      .hold(KEY_DOWN, 24, 25)
      .hold(KEY_DOWN, 28, 29)
      .hold(KEY_DOWN, 32, 33)
      .hold(KEY_ALT, 36, 37)
      .capture(44, "options_stars", "Options, spotlight on \"stars\", switched off", TITLE)
      .hold(KEY_ESC, 48, 49)
      .hold(KEY_DOWN, 56, 57)
      .hold(KEY_ALT, 60, 61)
      .install();
  show_title_screen();
}

void bonus_scene() {
  begin_scene();
  SceneScript()
      .capture(180, "bonus_screen", "Bonus information screen over the depth stars", TITLE)
      .press(KEY_SPACE, 190)
      .install();
  show_bonus_screen();
}

}  // namespace

void title_scenes() {
  menu_scene();
  options_scene();
  bonus_scene();
}
