#include "screens/bonus_screen.h"

#include "frame/catalogue.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/glyph_text.h"
#include "screens/depth_stars.h"
#include "screens/palette_screen.h"

#include <cstring>

DATAFILE *bonus_data = nullptr;

void draw_bonus_glyph_text(BITMAP *bitmap, int x, int y, const char *text) {
  draw_glyphs_of(bonus_data, bonus_object::GLYPHS, bitmap, x, y, text);
}

namespace {

constexpr int BONUS_SCREEN_FRAMES = 1000;

// In capsule order; row k shows icon k.
const char *const bonus_names[9] = {
    "SPEED INCREASE", "ROCK SHIELD",     "FIREPOWER",       "WEAPON",        "TIME FREEZE",
    "SCORE BONUS",    "BIG SCORE BONUS", "REVERSE CONTROL", "SHIP DEGRADER",
};

}  // namespace

// The icon column and the text at the 12-pixel pitch are centred together.
void draw_bonus_list(BITMAP *bitmap) {
  for (int k = 0; k < 9; ++k) {
    int n = static_cast<int>(std::strlen(bonus_names[k]));
    int x = (288 - 12 * n) / 2;
    int y = 20 + 20 * k;
    draw_sprite(bitmap, dat_bitmap(bonus_data, bonus_object::ICONS + k), x, y);
    draw_bonus_glyph_text(bitmap, x + 32, y, bonus_names[k]);
  }
  draw_bonus_glyph_text(bitmap, 28, 210, "LIFE EVERY 5000 POINTS");
}

void show_bonus_screen() {
  HeldDatafile held(bonus_data, BONUS_FILE);
  fade_into_palette(dat_palette(bonus_data, bonus_object::PALETTE));
  init_depth_stars();
  platform_clear_keybuf();
  int count = 0;
  do {
    clear(back_buffer);
    step_depth_stars();
    draw_depth_stars(back_buffer);
    draw_bonus_list(back_buffer);
    ++count;
    present_frame();
  } while (count < BONUS_SCREEN_FRAMES && !platform_keypressed());
}
