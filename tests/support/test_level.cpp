#include "tests/support/test_level.h"

#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "platform/platform.h"
#include "tests/support/headless_game.h"

#include <cstdlib>
#include <cstring>

namespace {

PALETTE palette;
bool palette_ready = false;

void set_entry(int i, int r, int g, int b) {
  palette[i].r = r / 4;
  palette[i].g = g / 4;
  palette[i].b = b / 4;
}

void build_palette() {
  for (int i = 0; i < 256; ++i) set_entry(i, (i * 37) % 256, (i * 91) % 256, (i * 53) % 256);
  set_entry(0, 0, 0, 0);
  for (int i = 0; i < 40; ++i) set_entry(1 + i, shade_rgb[i].r, shade_rgb[i].g, shade_rgb[i].b);
  for (int i = 200; i < 256; ++i) set_entry(i, 200 + (i - 200), 180, 100 + (i - 200) * 2);
  palette_ready = true;
}

BITMAP *solid(int w, int h, int colour) {
  BITMAP *b = create_bitmap(w, h);
  clear_to_color(b, colour);
  return b;
}

struct Size {
  int w, h;
};

Size object_size(int n) {
  using namespace level_object;
  if (n < 12) return {15, 16};
  if (n < 23) return {22, 24};
  if (n < BACKGROUND) return {5, 7};
  if (n < GLYPHS) return {12, 12};
  if (n < LAYOUTS) return {10, 11};
  if (n < SHIP_BLINK) return {20, 15};
  if (n < ROCK) return {16, 16};
  if (n < PLAYER_SHOT) return {30, 16};
  return {7, 7};
}

}  // namespace

int test_object_colour(int n) { return 50 + n; }

const RGB *test_level_palette() {
  if (!palette_ready) build_palette();
  return palette;
}

DATAFILE *make_test_level_data() {
  using level_object::BACKGROUND, level_object::COUNT, level_object::LAYOUTS;
  constexpr int PALETTE_OBJECT = level_object::PALETTE;
  test_level_palette();
  auto *d = static_cast<DATAFILE *>(std::calloc(COUNT + 1, sizeof(DATAFILE)));
  for (int n = 0; n < COUNT; ++n) {
    d[n].type = DAT_BITMAP;
    if (n == PALETTE_OBJECT) {
      auto *p = static_cast<RGB *>(std::malloc(sizeof(PALETTE)));
      std::memcpy(p, palette, sizeof(PALETTE));
      d[n].type = DAT_PALETTE;
      d[n].dat = p;
      d[n].size = sizeof(PALETTE);
      continue;
    }
    BITMAP *b;
    if (n == BACKGROUND) {
      b = create_bitmap(320, 960);
      for (int y = 0; y < 960; ++y) hline(b, 0, y, 319, 100 + y % 50);
    } else if (n >= LAYOUTS && n < PALETTE_OBJECT) {
      b = solid(20, 15, 0);
    } else {
      Size s = object_size(n);
      b = solid(s.w, s.h, test_object_colour(n));
    }
    d[n].dat = b;
    d[n].size = b->w * b->h;
  }
  d[COUNT].type = DAT_END;
  return d;
}

void install_test_level() {
  make_frame_bitmaps();
  if (level_data) unload_datafile(level_data);
  level_data = make_test_level_data();
  create_rgb_table(&rgb_table, test_level_palette(), nullptr);
  rgb_map = &rgb_table;
  create_trans_table(&trans_table, test_level_palette(), 24, 24, 24, nullptr);
  color_map = &trans_table;
  platform_set_palette(test_level_palette());
  compute_shade_colours();
}
