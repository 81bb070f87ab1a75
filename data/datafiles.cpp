#include "data/datafiles.h"

#include "data/art/art.h"
#include "data/art/glyphs.h"
#include "data/dat_writer.h"
#include "data/sound/sounds.h"

#include "frame/catalogue.h"
#include "world/enemy_kinds.h"

#include <cstdio>

namespace {

const char *const bonus_names[9] = {"SPEED_INCREASE", "ROCK_SHIELD",     "FIREPOWER",
                                    "WEAPON",         "TIME_FREEZE",     "SCORE_BONUS",
                                    "BIG_SCORE_BONUS", "REVERSE_CONTROL", "SHIP_DEGRADER"};
const char *const kind_names[9] = {"", "WASP", "BEETLE", "SPORE_MINE", "CRAB",
                                   "JELLYFISH", "MOTH", "BLADE", "MOTHERSHIP"};

std::string numbered(const std::string &name, int n) { return name + "_" + std::to_string(n); }

// Fills unlisted positions up to `position` with a blank 1 x 1 bitmap.
void pad_to(DatafileBuilder &file, size_t position) {
  while (file.objects.size() < position) add_bitmap(file, numbered("SPARE", int(file.objects.size())), Bitmap8(1, 1));
}

void add_glyphs(DatafileBuilder &file, const std::vector<Bitmap8> &glyphs) {
  const char order[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/%:.";
  const char *const signs[4] = {"SLASH", "PERCENT", "COLON", "DOT"};
  for (int k = 0; k < 40; ++k)
    add_bitmap(file, std::string("GLYPH_") + (k < 36 ? std::string(1, order[k]) : signs[k - 36]), glyphs[k]);
}

void add_enemy(DatafileBuilder &file, int kind) {
  pad_to(file, size_t(enemy_kinds[kind].sprite_base));
  std::vector<Bitmap8> frames = enemy_frames(kind);
  for (size_t f = 0; f < frames.size(); ++f) add_bitmap(file, numbered(kind_names[kind], int(f)), frames[f]);
}

std::vector<uint8_t> level_file(int group) {
  using namespace level_object;
  DatafileBuilder file;
  int first = group_first_kind(group);
  add_enemy(file, first);
  add_enemy(file, first + 1);
  pad_to(file, ENEMY_SHOT);
  std::vector<Bitmap8> shots = enemy_shot_frames(group);
  for (int f = 0; f < 2; ++f) add_bitmap(file, numbered("ENEMY_SHOT", f), shots[f]);
  Palette palette = level_base_palette(group);
  Bitmap8 background = level_background(group, palette);
  add_glow_blends(palette, background);
  add_bitmap(file, "BACKGROUND", background);
  for (int b = 0; b < 9; ++b) add_bitmap(file, std::string("CAPSULE_") + bonus_names[b], capsule_sprite(b));
  add_glyphs(file, level_glyphs(group));
  for (int l = 0; l < 3; ++l) add_bitmap(file, numbered("LAYOUT_LEVEL", 3 * group + l + 1), layout_picture(3 * group + l + 1));
  add_palette(file, "PALETTE", palette);
  const char *const ship_names[4] = {"SHIP_BLINK", "SHIP_LEFT", "SHIP", "SHIP_RIGHT"};
  std::vector<Bitmap8> ship = ship_frames();
  for (int f = 0; f < 4; ++f) add_bitmap(file, ship_names[f], ship[f]);
  std::vector<Bitmap8> rocks = shield_rock_frames();
  for (int d = 0; d < 5; ++d) add_bitmap(file, numbered("ROCK_HITS", d), rocks[d]);
  std::vector<Bitmap8> shot = player_shot_frames();
  for (int f = 0; f < 2; ++f) add_bitmap(file, numbered("PLAYER_SHOT", f), shot[f]);
  return datafile_bytes(file);
}

std::vector<uint8_t> title_file() {
  DatafileBuilder file;
  const char *const items[3] = {"MENU_START", "MENU_OPTIONS", "MENU_QUIT"};
  for (int i = 0; i < 3; ++i) {
    add_bitmap(file, items[i], menu_item(i, false));
    add_bitmap(file, std::string(items[i]) + "_LIT", menu_item(i, true));
  }
  for (int r = 0; r < 5; ++r) {
    add_bitmap(file, numbered("OPTION_LABEL", r), option_label(r));
    add_bitmap(file, numbered("OPTION_OFF", r), option_mark(r, false));
    add_bitmap(file, numbered("OPTION_ON", r), option_mark(r, true));
  }
  add_palette(file, "OPTIONS_PALETTE", options_palette());
  Palette title = title_palette();
  add_palette(file, "TITLE_PALETTE", title);
  add_bitmap(file, "TITLE_BACKGROUND", title_background(title));
  return datafile_bytes(file);
}

std::vector<uint8_t> bonus_file() {
  DatafileBuilder file;
  for (int b = 0; b < 9; ++b) add_bitmap(file, std::string("ICON_") + bonus_names[b], bonus_icon(b));
  add_glyphs(file, bonus_glyphs());
  pad_to(file, bonus_object::PALETTE);
  add_palette(file, "PALETTE", bonus_palette());
  return datafile_bytes(file);
}

std::vector<uint8_t> ending_file() {
  DatafileBuilder file;
  Palette palette = ending_palette();
  add_palette(file, "PALETTE", palette);
  for (int k = 1; k <= 8; ++k) add_bitmap(file, numbered("PICTURE", k), ending_picture(k, palette));
  add_bitmap(file, "TITLE", ending_title());
  return datafile_bytes(file);
}

std::vector<uint8_t> sound_file() {
  DatafileBuilder file;
  for (int n = 0; n < SOUND_OBJECTS; ++n) add_sample(file, sound_name(n), sound_sample(n));
  return datafile_bytes(file);
}

}  // namespace

std::vector<GeneratedFile> build_datafiles() {
  std::vector<GeneratedFile> files;
  files.emplace_back(SOUND_FILE, sound_file());
  files.emplace_back(TITLE_FILE, title_file());
  files.emplace_back(BONUS_FILE, bonus_file());
  for (int g = 0; g < 4; ++g) files.emplace_back(LEVEL_FILES[g], level_file(g));
  files.emplace_back(ENDING_FILE, ending_file());
  return files;
}
