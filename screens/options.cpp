// The options screen: five switches shown as picture rows with off and on
// marks, darkened by a light table except under a spotlight on the selected
// row, over the depth stars.
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "screens/depth_stars.h"
#include "screens/title.h"

namespace {

constexpr int ROWS = 5;

struct Point {
  int x, y;
};
struct OptionRow {
  int *flag;
  Point label, off_mark, on_mark;
  int spotlight_y;
};

const OptionRow option_rows[ROWS] = {
    {&option_glow, {75, 20}, {205, 17}, {205, 25}, 7},
    {&option_scroll, {70, 65}, {215, 57}, {215, 65}, 47},
    {&option_music, {90, 106}, {200, 115}, {200, 119}, 87},
    {&option_stars, {70, 155}, {210, 153}, {210, 160}, 142},
    {&option_shot_collisions, {35, 192}, {242, 208}, {242, 211}, 180},
};

BITMAP *title_bitmap(int n) { return dat_bitmap(title_data, n); }
RGB *options_palette() { return dat_palette(title_data, title_object::OPTIONS_PALETTE); }

void click(int frequency) {
  platform_play_sample(sound_object::MENU_CLICK, 255, 128, frequency, 0);
}

// 35 nested ellipses from 115 x 35 in light 50 to 81 x 1 in light 220.
OwnedBitmap make_spotlight() {
  OwnedBitmap b = new_bitmap(280, 70);
  clear(b.get());
  for (int i = 0; i <= 34; ++i) ellipsefill(b.get(), 140, 35, 115 - i, 35 - i, 50 + 5 * i);
  return b;
}

void install_light_tables() {
  create_rgb_table(&rgb_table, options_palette(), nullptr);
  rgb_map = &rgb_table;
  create_light_table(&trans_table, options_palette(), 0, 0, 0, nullptr);
  color_map = &trans_table;
  platform_set_palette(options_palette());
}

// Up, Down and fire in that order; the first to act latches the others.
void handle_option_keys() {
  bool up = platform_key(KEY_UP), down = platform_key(KEY_DOWN), fire = fire_key_held();
  if (!up && !down && !fire) option_key_held = 0;
  if (up && option_key_held == 0) {
    --option_cursor;
    click(1000);
    option_key_held = 1;
  }
  if (down && option_key_held == 0) {
    ++option_cursor;
    click(1000);
    option_key_held = 1;
  }
  if (fire && option_key_held == 0) {
    option_key_held = 1;
    click(2000);
    option_marks[option_cursor] = 1 - option_marks[option_cursor];
  }
  if (option_cursor < 0) option_cursor = 4;
  if (option_cursor > 4) option_cursor = 0;
}

void draw_options_frame(BITMAP *spotlight) {
  clear(back_buffer);
  clear_to_color(glow_layer, 60);
  draw_depth_stars(back_buffer);
  for (int r = 0; r < ROWS; ++r) {
    const OptionRow &row = option_rows[r];
    int base = title_object::OPTION_ROWS + 3 * r;
    draw_sprite(back_buffer, title_bitmap(base), row.label.x, row.label.y);
    if (option_marks[r] == 0)
      draw_sprite(back_buffer, title_bitmap(base + 1), row.off_mark.x, row.off_mark.y);
    else
      draw_sprite(back_buffer, title_bitmap(base + 2), row.on_mark.x, row.on_mark.y);
  }
  draw_sprite(glow_layer, spotlight, 20, option_rows[option_cursor].spotlight_y);
  draw_trans_sprite(back_buffer, glow_layer, 0, 0);
  present_frame();
}

void write_back_options() {
  option_glow = option_marks[0] == 1;
  option_scroll = option_marks[1] == 1;
  if (option_marks[2] == 1) {
    option_music = 1;
    platform_play_sample(sound_object::TUNE, 160, 128, 1000, 1);
  } else {
    option_music = 0;
    platform_stop_sample(sound_object::TUNE);
  }
  option_stars = option_marks[3] == 1;
  option_shot_collisions = option_marks[4] == 1;
}

}  // namespace

void show_options_screen() {
  platform_fade_out(16);
  platform_clear_screen();
  platform_fade_in(options_palette(), 16);
  OwnedBitmap spotlight = make_spotlight();
  install_light_tables();
  for (int r = 0; r < ROWS; ++r) option_marks[r] = *option_rows[r].flag == 1 ? 1 : 0;
  option_cursor = 0;
  init_depth_stars();
  platform_clear_keybuf();
  draw_options_frame(spotlight.get());
  do {
    handle_option_keys();
    step_depth_stars();
    draw_options_frame(spotlight.get());
  } while (!platform_key(KEY_ESC));
  spotlight.reset();
  write_back_options();
  platform_fade_out(16);
  platform_clear_screen();
  platform_fade_in(dat_palette(title_data, title_object::TITLE_PALETTE), 16);
  platform_clear_keybuf();
}
