// The title screen: the menu over the title picture, the looping tune, the
// bonus screen at frame 1000 and the demo at frame 1600.
#include "screens/title.h"

#include "frame/catalogue.h"
#include "frame/controls.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "screens/bonus_screen.h"


DATAFILE *title_data = nullptr;

namespace {

constexpr int BONUS_SCREEN_AT = 1000;
constexpr int DEMO_AT = 1600;

// The menu's items, numbered from the top as `selection` counts them.
enum MenuItemNumber { START_ITEM = 1, OPTIONS_ITEM = 2, QUIT_ITEM = 3 };

struct MenuItem {
  int x, y;
};
constexpr MenuItem menu_items[3] = {{165, 100}, {130, 140}, {165, 185}};

struct TitleState {
  int selection = START_ITEM;
  bool latch = false;
  // Fire selects only once it has been seen released on this screen: Space
  // also ends the demo and the bonus screen, and may still be held when the
  // title comes back.
  bool fire_armed = false;
  int frames = 0;
  int result = TITLE_START_GAME;
};

RGB *title_palette() { return dat_palette(title_data, title_object::TITLE_PALETTE); }

void click(int frequency) {
  platform_play_sample(sound_object::MENU_CLICK, 255, 128, frequency, 0);
}

// Up before Down; once one has moved the selection the latch holds the
// other back until both are released.
void move_selection(TitleState &t) {
  if (platform_key(KEY_UP) && t.selection > START_ITEM && !t.latch) {
    click(1000);
    --t.selection;
    t.latch = true;
  }
  if (platform_key(KEY_DOWN) && t.selection < QUIT_ITEM && !t.latch) {
    click(1000);
    ++t.selection;
    t.latch = true;
  }
}

void draw_menu(const TitleState &t) {
  for (int i = 0; i < 3; ++i) {
    int picture = title_object::MENU_ITEMS + 2 * i + (t.selection == i + 1 ? 1 : 0);
    draw_sprite(back_buffer, dat_bitmap(title_data, picture), menu_items[i].x, menu_items[i].y);
  }
}

void show_bonus_interlude() {
  show_bonus_screen();
  platform_fade_out(16);
  platform_clear_screen();
  clear(back_buffer);
  platform_fade_in(title_palette(), 16);
  platform_set_palette(title_palette());
}

// Frames until the fire key or the time-out.
void run_menu(TitleState &t) {
  for (;;) {
    if (!platform_key(KEY_UP) && !platform_key(KEY_DOWN)) t.latch = false;
    blit(dat_bitmap(title_data, title_object::BACKGROUND), back_buffer, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    move_selection(t);
    draw_menu(t);
    if (++t.frames == DEMO_AT)
      t.result = TITLE_DEMO;
    else if (t.frames == BONUS_SCREEN_AT)
      show_bonus_interlude();
    // The library font, on its own black background as plain textout draws.
    textout_ex(back_buffer, font, "v 1.0", 280, 0, 250, 0);
    present_frame();
    bool fire = fire_key_held();
    if (t.frames >= DEMO_AT || (fire && t.fire_armed)) return;
    if (!fire) t.fire_armed = true;
  }
}

}  // namespace

int show_title_screen() {
  HeldDatafile held(title_data, TITLE_FILE);
  platform_clear_screen();
  platform_set_palette(title_palette());
  platform_clear_keybuf();
  platform_play_sample(sound_object::TUNE, 160, 128, 1000, 1);
  TitleState t;
  for (;;) {
    run_menu(t);
    click(2000);
    if (t.selection == OPTIONS_ITEM && t.result != TITLE_DEMO) {
      show_options_screen();
      continue;
    }
    if (t.result != TITLE_DEMO) t.result = t.selection == START_ITEM ? TITLE_START_GAME : TITLE_QUIT;
    break;
  }
  platform_clear_keybuf();
  return t.result;
}
