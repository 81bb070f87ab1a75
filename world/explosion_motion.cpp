// One tick of every active explosion: trails shift, particles fly under a
// light gravity, bounce off the bottom edge, die at the side edges or when
// their trail has run out, and the ring shrinks.
#include "world/explosion_motion.h"

#include "frame/game_state.h"
#include "platform/platform.h"

#include <cstring>

namespace {

constexpr float GRAVITY = 0.06f;

constexpr int FULL_TRAIL = 6;  // the length every particle starts with

// A particle's life burns down each tick; each time it runs out the trail
// loses an entry and the life is topped up, which lasts ten more ticks.
constexpr int LIFE_PER_TICK = 4;
constexpr int LIFE_PER_TRAIL_ENTRY = 40;

// Six entries, from `from` to one place on.
void move_six_on(int *from) {
  int six[FULL_TRAIL];
  std::memcpy(six, from, sizeof six);
  std::memcpy(from + 1, six, sizeof six);
}

// Entries 1 to trail_len take entries 0 to trail_len - 1. A full trail, the
// common case, moves in fixed-size copies that need no call.
void shift_trail(Particle &p) {
  if (p.trail_len == FULL_TRAIL) {
    move_six_on(p.trail_x);
    move_six_on(p.trail_y);
    return;
  }
  for (int k = p.trail_len; k >= 1; --k) {
    p.trail_x[k] = p.trail_x[k - 1];
    p.trail_y[k] = p.trail_y[k - 1];
  }
}

void fly(Particle &p) {
  p.trail_x[0] = static_cast<int>(p.x);
  p.trail_y[0] = static_cast<int>(p.y);
  p.x += p.dx * p.speed;
  p.y += p.dy * p.speed;
  if (p.y > PICTURE_HEIGHT) p.dy = -(p.dy * 0.5f);  // back up at half the speed
  if (p.x < 0.0f || p.x > PICTURE_WIDTH) p.active = 0;
  p.dy += GRAVITY;
  p.life -= LIFE_PER_TICK;
  if (p.life <= 0) {
    --p.trail_len;
    p.life += LIFE_PER_TRAIL_ENTRY;
  }
  if (p.trail_len < 0) p.active = 0;
}

void move_explosion(Explosion &e) {
  --e.glow_radius;
  for (Particle &p : e.particles) {
    if (p.trail_len > 0) shift_trail(p);
    if (p.active != 1) continue;
    fly(p);
    if (p.active == 0 && --e.live_particles == 0) e.active = 0;
  }
  if (e.active == 0) --active_explosions;
}

}  // namespace

void move_explosions() {
  for (Explosion &e : explosions)
    if (e.active == 1) move_explosion(e);
}
