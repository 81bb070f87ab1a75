// Every picture of the eight datafiles, one function per object group.
#pragma once

#include "data/art/palettes.h"
#include "data/dat_writer.h"

#include <vector>

// Enemies: the animation frames of kind 1..8, at the kind's size.
std::vector<Bitmap8> enemy_frames(int kind);
// The two frames of a group's enemy shot, at the group's shot size.
std::vector<Bitmap8> enemy_shot_frames(int group);

// The ship: blink frame, banking left, level, banking right (16 x 16).
std::vector<Bitmap8> ship_frames();
std::vector<Bitmap8> player_shot_frames();  // two, 7 x 7
// The level ship at twice the size (32 x 32), for the ending.
Bitmap8 large_ship();
// The mothership shot to pieces, for the ending.
Bitmap8 mothership_wreck();
std::vector<Bitmap8> shield_rock_frames();  // undamaged to four hits, 30 x 16

// The nine bonuses in capsule order: the 12 x 12 capsule and the 16 x 16 icon.
Bitmap8 capsule_sprite(int bonus);
Bitmap8 bonus_icon(int bonus);

// Glyph sets: one per level group, and the bonus screen's.
std::vector<Bitmap8> level_glyphs(int group);
std::vector<Bitmap8> bonus_glyphs();

// Layout picture of a level (1..12): 20 x 15, pixel = enemy kind.
Bitmap8 layout_picture(int level);

// Level background of a group, 320 x 960, in the palette's background ramps.
Bitmap8 level_background(int group, const Palette &palette);

// Title screen pictures.
Bitmap8 title_background(const Palette &palette);
Bitmap8 menu_item(int item, bool highlighted);  // item 0..2
Bitmap8 option_label(int row);                  // row 0..4
Bitmap8 option_mark(int row, bool on);

// Ending: the eight drifting pictures (1..8), in the ending palette, and the
// closing title.
Bitmap8 ending_picture(int k, const Palette &palette);
Bitmap8 ending_title();

// Drawing helpers shared by the art files.
void draw_line(Bitmap8 &b, int x0, int y0, int x1, int y1, int index);
