// Starting particle explosions. Each start fills all 100 particle slots of a
// record and draws four random numbers for each, whatever the count.
#include "combat/explosions.h"

#include "frame/game_state.h"
#include "frame/random.h"
#include "world/records.h"

#include <algorithm>

namespace {

constexpr float PARTICLE_SPEED = 0.3f;
constexpr int TRAIL_START = 6;
// direction_cursor walks entries 0 to 197; a particle reads two of them.
constexpr int DIRECTION_STEPS = 198;

void init_particle(Particle &p, bool live, int x, int y, int count, int ramp) {
  if (++direction_cursor == DIRECTION_STEPS) direction_cursor = 0;
  // On (x, y), or one time in two 3 or 4 pixels left of it and 5 or 6 above.
  int a = random_number() % 2 - 4;
  int b = random_number() % 2 - 6;
  int h = random_number() % 2;
  p.x = static_cast<float>(x + h * a);
  p.y = static_cast<float>(y + h * b);
  p.dx = direction_table[direction_cursor];
  p.dy = direction_table[direction_cursor + 1];
  p.speed = PARTICLE_SPEED;
  p.life = random_number() % 150 + count + 45;
  p.ramp = ramp;
  p.trail_len = TRAIL_START;
  for (int k = 0; k < TRAIL_START; ++k) {
    p.trail_x[k] = static_cast<int>(p.x);
    p.trail_y[k] = static_cast<int>(p.y);
  }
  p.active = live ? 1 : 0;
}

}  // namespace

void init_explosion(int n, int x, int y, int count, int ramp, int trail_style) {
  // A count outside 1..100 would leave live_particles unable to reach 0, and
  // the level could never end.
  count = std::clamp(count, 1, MAX_PARTICLES);
  ++active_explosions;
  Explosion &e = explosions[n];
  e.x = x;
  e.y = y;
  e.active = 1;
  e.live_particles = count;
  e.glow_radius = count;
  e.trail_style = trail_style;
  for (int p = 0; p < MAX_PARTICLES; ++p) init_particle(e.particles[p], p < count, x, y, count, ramp);
}

void start_explosion(int x, int y, int count, int ramp, int trail_style) {
  int n = first_free(explosions);
  if (n >= 0) init_explosion(n, x, y, count, ramp, trail_style);
}
