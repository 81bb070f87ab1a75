// The records of combat: the player's shots, the bonus capsules, the shield
// rocks and the particle explosions, with the size of each fixed table.
// Types only; the tables are declared with the rest of the state of play
// (frame/game_state.h).
#pragma once

#include <array>
#include <cstdint>

struct PlayerShot {
  int x, y;
  int active;
  int frame_count;
  int frame;
  int frame_timer;
  int dx;
  int speed;
  int width, height;
};

struct Capsule {
  int x, y;
  int active;
  int spin_steps;
  int spin;
  int spin_timer;
  int fall_speed;
  int kind;  // level object of its sprite, 26 to 34: the bonus it carries
  int height, width;
};

enum RockState : int {
  ROCK_ABSENT = 0,
  ROCK_STANDING = 1,
  ROCK_REGROWING = -1,  // broken, its damage counting down
};

struct ShieldRock {
  int x, y;
  int damage;  // 0 to 5; also the sprite frame
  RockState state;
  int regrow_timer;
  int width, height;
};

struct Particle {
  float x, y;
  float dx, dy;
  float speed;
  int ramp;         // shade ramp: 0 red, 1 green, 2 grey, 3 blue, 4 orange
  uint8_t active;
  int life;
  int trail_len;    // trail length and blob size; dies below 0
  int trail_x[8], trail_y[8];  // past positions, newest first
};

constexpr int MAX_PLAYER_SHOTS = 12;
constexpr int MAX_CAPSULES = 4;
constexpr int MAX_SHIELD_ROCKS = 3;
constexpr int MAX_PARTICLES = 100;
constexpr int MAX_EXPLOSIONS = 100;

struct Explosion {
  int active;
  int live_particles;
  int x, y;
  int glow_radius;
  int trail_style;  // 1 trails, 0 blobs
  std::array<Particle, MAX_PARTICLES> particles;
};
