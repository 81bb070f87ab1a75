// The records of the world: enemies, their shots and the ship's exhaust
// specks, with the size of each fixed table. Types only; the tables are
// declared with the rest of the state of play (frame/game_state.h).
#pragma once

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

struct ExhaustParticle {
  int x, y;
  int dx, dy;
  int life;
  int colour;  // always 132; the renderer picks its own shades
  int active;
};

// A layout places at most this many enemies; slots past it are ignored.
constexpr int MAX_ENEMIES = 40;
constexpr int MAX_ENEMY_SHOTS = 8;
constexpr int MAX_EXHAUST = 10;
