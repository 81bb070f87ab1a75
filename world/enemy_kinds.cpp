#include "world/enemy_kinds.h"

const EnemyKind enemy_kinds[9] = {
    //  hp frames   w   h base sway hit trail start sway
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {2, 7, 15, 16, 0, 4, 1, 0, 0},   // 1: levels 1-3
    {6, 7, 22, 24, 12, 12, 1, 1, 0}, // 2: levels 1-3
    {3, 7, 16, 16, 0, 4, 4, 0, 0},   // 3: levels 4-6
    {8, 7, 32, 32, 12, 16, 1, 1, 0}, // 4: levels 4-6
    {4, 5, 16, 16, 0, 4, 3, 0, 0},   // 5: levels 7-9
    {2, 10, 22, 18, 12, 6, 2, 1, 1}, // 6: levels 7-9
    {8, 8, 24, 24, 0, 4, 4, 0, 0},   // 7: levels 10-12
    {12, 4, 72, 48, 12, 8, 2, 1, 0}, // 8: levels 10-12
};

const ShotSize enemy_shot_sizes[4] = {{5, 7}, {6, 6}, {4, 4}, {8, 8}};

int level_group(int level) { return (level - 1) / 3; }
int group_first_kind(int group) { return 2 * group + 1; }
bool kind_in_group(int kind, int group) {
  return kind == group_first_kind(group) || kind == group_first_kind(group) + 1;
}

void place_enemy(Enemy &e, EnemyKindId kind, int column, int row) {
  const EnemyKind &k = enemy_kinds[kind];
  e.kind = kind;
  e.home_x = e.x = 12 * column;
  e.home_y = e.y = 16 * row - 10;
  e.hit_points = k.hit_points;
  e.frame_count = k.frame_count;
  e.width = k.width;
  e.height = k.height;
  e.sprite_base = k.sprite_base;
  e.sway_limit = k.sway_limit;
  e.hit_style = k.hit_style;
  e.trail_style = k.trail_style;
  e.sway = k.sway;
  e.home_dx = 1;
  e.home_dy = 1;
  e.dx = 1;
  e.dy = 0;
  e.active = 1;
  e.state = ENEMY_IN_FORMATION;
  e.frame = 1;
  e.frame_timer = 0;
  e.shot_speed = 2;
  e.kill_style = 0;
}
