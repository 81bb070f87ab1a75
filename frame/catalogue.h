// Positions of the objects in the eight datafiles. The code addresses every
// picture, palette and sample by its number, so these are a fixed interface
// between the program and its data.
#pragma once

#include "platform/shared/datafile_object.h"

#include <allegro.h>

// "sound.dat": all samples.
namespace sound_object {
constexpr int ENEMY_DESTROYED = 0;   // also an enemy crushed on a shield rock
constexpr int ROCK_FALLS = 1;        // also the ship hit by an enemy shot
constexpr int ROCK_HIT = 2;          // also a player shot meeting an enemy shot
constexpr int ENEMY_HIT = 3;
constexpr int MENU_CLICK = 4;
constexpr int CAPSULE_RELEASED = 5;
constexpr int TUNE = 7;              // looped background tune
constexpr int GAME_OVER_TUNE = 8;
constexpr int FIREPOWER = 9;
constexpr int EXTRA_LIFE = 10;
constexpr int SCORE_BONUS = 11;
constexpr int BIG_SCORE_BONUS = 12;
constexpr int REVERSE_CONTROL = 13;
constexpr int SHIP_DEGRADER = 14;
constexpr int SPEED_INCREASE = 15;
constexpr int TIME_FREEZE = 16;
constexpr int ROCK_SHIELD = 17;
constexpr int WEAPON = 18;
constexpr int VOLLEY = 19;
}  // namespace sound_object

// The eight datafiles: the samples, the title, the bonus screen, the
// datafile of each group of three levels, and the ending. The build makes
// them (data/datafiles.cpp) under these names, in this order.
constexpr const char *SOUND_FILE = "sound.dat";
constexpr const char *TITLE_FILE = "title.dat";
constexpr const char *BONUS_FILE = "bonus.dat";
constexpr const char *LEVEL_FILES[4] = {"level1.dat", "level4.dat", "level7.dat", "level10.dat"};
constexpr const char *ENDING_FILE = "enddat.dat";
constexpr const char *DATAFILE_NAMES[8] = {SOUND_FILE,     TITLE_FILE,     BONUS_FILE,     LEVEL_FILES[0],
                                           LEVEL_FILES[1], LEVEL_FILES[2], LEVEL_FILES[3], ENDING_FILE};

// "level1.dat", "level4.dat", "level7.dat", "level10.dat": one layout.
namespace level_object {
constexpr int FIRST_KIND_FRAMES = 0;    // sprite_base of the group's first kind
constexpr int SECOND_KIND_FRAMES = 12;  // sprite_base of the second kind
constexpr int ENEMY_SHOT = 23;          // two frames
constexpr int BACKGROUND = 25;          // 320 x at least 959
// The background's top row on show as a level starts; the scroll climbs
// from there to row 0.
constexpr int BACKGROUND_FIRST_ROW = 719;
constexpr int CAPSULES = 26;            // 26..34, one per bonus; the capsule's kind
constexpr int GLYPHS = 35;              // 35..74 in glyph_order
constexpr int LAYOUTS = 75;             // 75..77, one per level of the group
// A layout's top-left 20 x 15 pixels are the formation's slots, each an
// enemy kind or 0 for none.
constexpr int LAYOUT_COLUMNS = 20, LAYOUT_ROWS = 15;
constexpr int PALETTE = 78;
constexpr int SHIP_BLINK = 79;
constexpr int SHIP_LEFT = 80;
constexpr int SHIP = 81;                // also the lives icon
constexpr int SHIP_RIGHT = 82;
constexpr int ROCK = 83;                // 83..87: 0 to 4 hits
constexpr int PLAYER_SHOT = 88;         // two frames
constexpr int COUNT = 90;
}  // namespace level_object

// Capsule kinds: the level object of the sprite, and the bonus it carries.
namespace capsule_kind {
constexpr int SPEED_INCREASE = 26;
constexpr int ROCK_SHIELD = 27;
constexpr int FIREPOWER = 28;
constexpr int WEAPON = 29;
constexpr int TIME_FREEZE = 30;
constexpr int SCORE_BONUS = 31;
constexpr int BIG_SCORE_BONUS = 32;
constexpr int REVERSE_CONTROL = 33;
constexpr int SHIP_DEGRADER = 34;
}  // namespace capsule_kind

// "title.dat".
namespace title_object {
constexpr int MENU_ITEMS = 0;       // item i: normal 2i, highlighted 2i + 1
constexpr int OPTION_ROWS = 6;      // row r: label 6 + 3r, off 7 + 3r, on 8 + 3r
constexpr int OPTIONS_PALETTE = 21;
constexpr int TITLE_PALETTE = 22;
constexpr int BACKGROUND = 23;      // 320 x 240, blitted
constexpr int COUNT = 24;
}  // namespace title_object

// "bonus.dat".
namespace bonus_object {
constexpr int ICONS = 0;   // 0..8 in capsule order
constexpr int GLYPHS = 9;  // 9..48 in glyph_order
constexpr int PALETTE = 51;
constexpr int COUNT = 52;
}  // namespace bonus_object

// "enddat.dat".
namespace ending_object {
constexpr int PALETTE = 0;
constexpr int PICTURES = 1;  // 1..8
constexpr int TITLE = 9;     // about 131 x 23
constexpr int COUNT = 10;
}  // namespace ending_object

// Thrown by the accessors below for a position that a datafile does not
// hold, or holds an object of another kind at. Every load checks the
// positions the code reads, so this is a fault of the code; the program
// stops with a message naming the file instead of reading past its end.
struct MissingObject {
  const DATAFILE *data;
  int position;
  int type;  // DAT_BITMAP, DAT_PALETTE or DAT_SAMPLE
};

// Object n of a loaded datafile, bounded by its end marker.
inline const DATAFILE &dat_object(const DATAFILE *d, int n, int type) {
  const DATAFILE *object = datafile_object(d, n, type);
  if (!object) throw MissingObject{d, n, type};
  return *object;
}

// Object n of a loaded datafile, as the type it holds.
inline BITMAP *dat_bitmap(DATAFILE *d, int n) {
  return static_cast<BITMAP *>(dat_object(d, n, DAT_BITMAP).dat);
}
inline RGB *dat_palette(DATAFILE *d, int n) {
  return static_cast<RGB *>(dat_object(d, n, DAT_PALETTE).dat);
}
inline SAMPLE *dat_sample(DATAFILE *d, int n) {
  return static_cast<SAMPLE *>(dat_object(d, n, DAT_SAMPLE).dat);
}
