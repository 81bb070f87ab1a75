// The enemy table, the enemy shots, and the per-tick enemy update with its
// attack timers, freeze count-down and extra lives.
#pragma once

#include <array>

struct Enemy {
  int home_x, home_y;    // the slot in the formation
  int home_dx, home_dy;  // the slot's velocity
  int x, y;              // top-left of the enemy as drawn and collided
  int dx, dy;            // this tick's move
  int sway;              // vertical travel of the slot, within +-sway_limit
  int hit_points;
  int active;            // 1 alive, 0 destroyed or never placed
  int frame_count;
  int frame;
  int kind;              // 1 to 8
  int state;             // 0 formation, 1 diving, 2 returning, 3 fleeing (kind 7)
  int frame_timer;
  int width, height;
  int sprite_base;       // level object of frame 0
  int sway_limit;
  int shot_speed;
  int hit_style, kill_style, trail_style;  // explosion ramps and look
};

struct EnemyShot {
  int x, y;
  int active;
  int frame_count;
  int frame;
  int frame_timer;
  int dx, dy;
  int width, height;
};

constexpr int MAX_ENEMIES = 40;
constexpr int MAX_ENEMY_SHOTS = 8;

extern std::array<Enemy, MAX_ENEMIES> enemies;
extern int enemy_count;  // records filled by the layout, from index 0
extern std::array<EnemyShot, MAX_ENEMY_SHOTS> enemy_shots;

extern int enemies_destroyed;
extern int shot_timer;
extern int dive_timer;
extern int freeze_ticks;

void update_enemies();
void start_random_dive();
void fire_random_shot();
