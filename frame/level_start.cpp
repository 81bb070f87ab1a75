// Level start: the graphics set of the level's group, its colour tables, the
// enemy formation from the layout picture, the per-level resets, the first
// frame and the "LEVEL %d" caption sliding across it.
#include "frame/level_start.h"

#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "render/glyph_text.h"
#include "render/starfield.h"
#include "world/enemy_kinds.h"

#include <cstdio>

namespace {

// The graphics set on show, which level_data views. Never destroyed: at the
// process's end the library is gone, and the program lets it go before.
OwnedDatafile &held_level_set() {
  static auto *held = new OwnedDatafile;
  return *held;
}

void install_colour_tables(const RGB *palette) {
  create_rgb_table(&rgb_table, palette, nullptr);
  rgb_map = &rgb_table;
  create_trans_table(&trans_table, palette, 24, 24, 24, nullptr);
  color_map = &trans_table;
  platform_set_palette(palette);
}

void reset_shots_and_effects() {
  for (PlayerShot &s : player_shots) s.active = 0;
  for (Capsule &c : capsules) {
    c.active = 0;
    c.spin_steps = 2;
    c.spin = 0;
  }
}

void reset_shield_rocks() {
  const int rock_x[MAX_SHIELD_ROCKS] = {50, 146, 242};
  for (int k = 0; k < MAX_SHIELD_ROCKS; ++k) {
    ShieldRock &r = shield_rocks[k];
    r.x = rock_x[k];
    r.y = 180;
    r.damage = 0;
    r.state = ROCK_ABSENT;
  }
}

void reset_ship() {
  player.x = PICTURE_WIDTH / 2;  // its left edge on the middle column
  player.y = 214;
  player.shots_in_flight = 0;
  player.exhaust_frame = 2;
  player.state = SHIP_REAPPEARING;
  player.velocity = 0;
  player.friction_tick = 0;
  player.state_ticks = 0;
  player.width = 16;
  player.height = 16;
}

void free_explosions() {
  for (Explosion &e : explosions) e.active = 0;
}

// The caption slides in from the right edge to past the left one, four
// pixels a frame, over the still first frame of the level: 96 frames.
void scroll_level_caption() {
  OwnedBitmap first_frame = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  clear(first_frame.get());
  blit(back_buffer, first_frame.get(), 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  char caption[32];
  std::snprintf(caption, sizeof caption, "LEVEL %d", level);
  for (int x = PICTURE_WIDTH; x > -64; x -= 4) {
    clear(back_buffer);
    blit(first_frame.get(), back_buffer, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    draw_glyph_text(back_buffer, x + 1, 193, caption);
    present_frame();
  }
}

}  // namespace

const char *level_datafile(int level_number) { return LEVEL_FILES[level_group(level_number)]; }

void release_level_data() {
  level_data = nullptr;
  held_level_set().reset();
}

int load_level_data() {
  bool first_of_group = (level - 1) % 3 == 0;
  if (first_of_group) {
    // Also drops the set an earlier game or demo left loaded.
    release_level_data();
    held_level_set() = load_game_datafile(level_datafile(level));
    level_data = held_level_set().get();
  }
  if (!level_data) return 1;
  install_colour_tables(dat_palette(level_data, level_object::PALETTE));
  return 0;
}

void load_level_group() {
  release_level_data();
  held_level_set() = load_game_datafile(level_datafile(level));
  level_data = held_level_set().get();
}

void build_layout() {
  for (Enemy &e : enemies) e.active = 0;
  BITMAP *layout = dat_bitmap(level_data, level_object::LAYOUTS + (level - 1) % 3);
  int placed = 0;
  using level_object::LAYOUT_COLUMNS, level_object::LAYOUT_ROWS;
  for (int j = 0; j < LAYOUT_ROWS; ++j) {
    for (int i = 0; i < LAYOUT_COLUMNS; ++i) {
      // Outside a small picture getpixel gives -1: an empty slot. Slots past
      // the fortieth are ignored.
      int kind = getpixel(layout, i, j);
      if (kind <= 0 || placed == MAX_ENEMIES) continue;
      Enemy &e = enemies[placed++];
      e.kind = static_cast<EnemyKindId>(kind);  // of this group or not: only those of the group fly
      e.x = e.home_x = 12 * i;
      e.y = e.home_y = 16 * j - 10;
    }
  }
  enemy_count = placed;
  int group = level_group(level);
  for (int n = 0; n < enemy_count; ++n) {
    Enemy &e = enemies[n];
    if (kind_in_group(e.kind, group)) place_enemy(e, e.kind, e.home_x / 12, (e.home_y + 10) / 16);
  }
  const ShotSize &size = enemy_shot_sizes[group];
  for (EnemyShot &s : enemy_shots) {
    s.width = size.width;
    s.height = size.height;
  }
}

void reset_level_state(int n) {
  scroll_y = level_object::BACKGROUND_FIRST_ROW;
  shots_fired = 0;
  shots_hit = 0;
  scroll_tick = 0;
  reverse_ticks = 0;
  level = n;
  freeze_ticks = 0;
  for (ShieldRock &r : shield_rocks) {
    r.width = 30;
    r.height = 16;
  }
  for (PlayerShot &s : player_shots) {
    s.width = 7;
    s.height = 7;
  }
  init_stars();
  reset_shots_and_effects();
  enemies_destroyed = 0;
  level_end = LEVEL_PLAYING;
  shot_timer = 50;
  dive_timer = 250;
  free_explosions();
  reset_shield_rocks();
  for (ExhaustParticle &p : exhaust) p.active = 0;
  reset_ship();
  active_explosions = 0;
  for (EnemyShot &s : enemy_shots) s.active = 0;
  free_explosions();
}

// The formation is placed after the resets: it draws no random number and
// touches none of what they reset, so the order makes no difference.
int level_start(int n) {
  if ((n - 1) % 3 == 0) load_level_data();
  reset_level_state(n);
  build_layout();
  compute_shade_colours();
  draw_frame();
  present_frame();
  scroll_level_caption();
  return 0;
}
