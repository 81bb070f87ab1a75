// Particle explosions: starting them. Their motion is move_explosions (one
// step of the world tick) and their drawing is the renderer's.
#pragma once

#include <array>
#include <cstdint>

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

extern std::array<Explosion, MAX_EXPLOSIONS> explosions;
extern int active_explosions;
extern int direction_cursor;

void start_explosion(int x, int y, int count, int ramp, int trail_style);
void init_explosion(int n, int x, int y, int count, int ramp, int trail_style);
