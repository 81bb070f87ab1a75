// The records of the world: enemies, their shots and the ship's exhaust
// specks, with the size of each fixed table. Types only; the tables are
// declared with the rest of the state of play (frame/game_state.h).
#pragma once

// What an enemy is doing: the behaviour of its kind has a rule for each.
enum EnemyState : int {
  ENEMY_IN_FORMATION = 0,
  ENEMY_DIVING = 1,
  ENEMY_RETURNING = 2,
  ENEMY_FLEEING = 3,  // the fleeing kind only, after a hit
};

// The eight kinds, two to each group of three levels, named after what sets
// them apart (world/enemy_kinds.h has what each starts with, world/behaviour.cpp
// how each flies).
enum EnemyKindId : int {
  NO_KIND = 0,
  KIND_STEADY = 1,   // levels 1-3: fixed to its slot in the formation
  KIND_DODGER = 2,   // levels 1-3: sidesteps the player's shots
  KIND_CLIMBER = 3,  // levels 4-6: climbs back to its slot two pixels a tick
  KIND_AIMER = 4,    // levels 4-6: its shots drift towards the ship
  KIND_MARCHER = 5,  // levels 7-9: turns the whole formation at a wall
  KIND_DROPPER = 6,  // levels 7-9: drops capsules instead of shots
  KIND_FLEER = 7,    // levels 10-12: turns away and shoots back when hit
  KIND_GIANT = 8,    // levels 10-12: bursts apart, the rocks cannot break it, its shots drift
};
constexpr int ENEMY_KINDS = 8;

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
  EnemyKindId kind;
  EnemyState state;
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
