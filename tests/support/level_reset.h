// Test support: the per-level resets of level start, without its datafile,
// layout picture and drawing, so that tests and the soak run can set up a
// level and then place their own formation.
#pragma once

#include "world/enemy_records.h"

// A palette with the stars' four greys at known indices, installed through
// rgb_map so that makecol finds them.
constexpr int TEST_GREY_INDEX[4] = {250, 251, 252, 253};  // 255, 200, 150, 100
void install_test_palette();

// Level n with every per-level record and counter as level start leaves
// them, the ship reappearing at (160, 214), and no enemy placed yet.
void reset_level_records(int n);

// Places an enemy of this kind in slot (column, row) in the next record and
// counts it in enemy_count; its index.
int add_enemy(EnemyKindId kind, int column, int row);
