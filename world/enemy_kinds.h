// What each of the eight enemy kinds starts with when the layout places it,
// and the enemy shot size of each group of three levels.
#pragma once

#include "world/enemy_records.h"

struct EnemyKind {
  int hit_points;
  int frame_count;
  int width, height;
  int sprite_base;
  int sway_limit;
  int hit_style;
  int trail_style;
  int sway;
};

// Indexed by kind, 1 to 8 (entry 0 unused).
extern const EnemyKind enemy_kinds[9];

// The group (0 to 3) that plays a level (1 to 12), and its two kinds.
int level_group(int level);
int group_first_kind(int group);  // the second is one more
bool kind_in_group(int kind, int group);

struct ShotSize {
  int width, height;
};
extern const ShotSize enemy_shot_sizes[4];

// Fills a record for an enemy of this kind in slot (column, row).
void place_enemy(Enemy &e, EnemyKindId kind, int column, int row);
