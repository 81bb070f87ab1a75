#include "tests/soak/soak_checks.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "world/enemies.h"

#include <cstdio>

namespace {

std::string fault;

bool in(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Records the first fault found, with the values that broke the rule.
bool expect(bool ok, const char *what, int index = -1, int value = 0) {
  if (ok || !fault.empty()) return ok;
  char text[160];
  std::snprintf(text, sizeof text, "%s (record %d, value %d)", what, index, value);
  fault = text;
  return false;
}

// The ship and the counters of the level.
void check_counters() {
  const Player &p = player;
  expect(in(p.x, 0, 290), "ship x", -1, p.x);
  expect(p.state == 1 || p.state == -2 || p.state == -3, "ship state", -1, p.state);
  expect(in(p.max_speed, 2, 7), "max_speed", -1, p.max_speed);
  expect(in(p.weapon, 1, 3), "weapon", -1, p.weapon);
  expect(in(p.firepower, 2, 12), "firepower", -1, p.firepower);
  expect(p.weapon != 1 || p.firepower <= 4, "single-shot firepower cap", -1, p.firepower);
  expect(p.weapon != 2 || p.firepower <= 8, "double-shot firepower cap", -1, p.firepower);
  if (p.lives > 0) {
    expect(p.state != -3 || p.state_ticks < 120, "exploding ticks", -1, p.state_ticks);
    expect(p.state != -2 || p.state_ticks < 90, "reappearing ticks", -1, p.state_ticks);
  }
  expect(in(level_end, 0, 2), "level_end", -1, level_end);
  expect(in(enemy_count, 0, MAX_ENEMIES), "enemy_count", -1, enemy_count);
  expect(in(enemies_destroyed, 0, enemy_count), "enemies_destroyed", -1, enemies_destroyed);
  expect(in(reverse_ticks, 0, 800), "reverse_ticks", -1, reverse_ticks);
  expect(in(freeze_ticks, 0, 250), "freeze_ticks", -1, freeze_ticks);
  expect(in(scroll_y, 0, 719) && in(scroll_tick, 0, 6), "scroll", -1, scroll_y);
  // Reloads lie within -12 .. 57. A freeze lets the shot timer fall on (and
  // a second freeze longer still) until the tick after it ends.
  static int last_freeze = 0;
  int lowest = freeze_ticks > 0 || last_freeze > 0 ? -(1 << 30) : -12;
  expect(in(shot_timer, lowest, 57), "shot_timer", -1, shot_timer);
  last_freeze = freeze_ticks;
  expect(in(dive_timer, 0, 250), "dive_timer", -1, dive_timer);
  expect(in(shots_hit, 0, shots_fired), "shots_hit", -1, shots_hit);
}

// The enemies and the shield rocks.
void check_enemies() {
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    if (e.active != 1) continue;
    expect(in(e.state, 0, e.kind == 7 ? 3 : 2), "enemy state", i, e.state);
    expect(in(e.frame, 0, e.frame_count - 1), "enemy frame", i, e.frame);
    expect(in(e.sway, -e.sway_limit - 1, e.sway_limit + 1), "enemy sway", i, e.sway);
    // A slot turns one pixel past its bound, but a formation that turns as
    // one can push another slot on a little, so only a loose bound holds.
    expect(in(e.home_x, -40, 360), "slot home_x", i, e.home_x);
    expect(in(e.hit_points, 1, 12), "enemy hit_points", i, e.hit_points);
  }
  for (int i = 0; i < MAX_SHIELD_ROCKS; ++i)
    expect(in(shield_rocks[i].damage, 0, shield_rocks[i].state == 0 ? 5 : 4), "rock damage", i,
           shield_rocks[i].damage);
}

void check_shots() {
  int flying = 0;
  for (int i = 0; i < MAX_PLAYER_SHOTS; ++i) {
    const PlayerShot &s = player_shots[i];
    if (s.active != 1) continue;
    ++flying;
    expect(in(s.y, 0, 210), "player shot y", i, s.y);
  }
  expect(flying == player.shots_in_flight, "shots_in_flight against active shots", flying,
         player.shots_in_flight);
  for (int i = 0; i < MAX_ENEMY_SHOTS; ++i) {
    const EnemyShot &s = enemy_shots[i];
    if (s.active != 1) continue;
    expect(in(s.x, 0, 320) && s.y <= 240, "enemy shot position", i, s.x);
  }
  for (int i = 0; i < MAX_CAPSULES; ++i) {
    const Capsule &c = capsules[i];
    if (c.active != 1) continue;
    expect(c.y <= 232 && in(c.kind, 26, 34), "capsule y or kind", i, c.kind);
  }
}

void check_explosions() {
  int active = 0;
  for (int i = 0; i < MAX_EXPLOSIONS; ++i) {
    const Explosion &e = explosions[i];
    if (e.active != 1) continue;
    ++active;
    int live = 0;
    for (const Particle &p : e.particles) {
      if (p.active != 1) continue;
      ++live;
      // Moving past a side kills a particle; one started off the screen
      // this tick (beside a shot at the edge) has not moved yet.
      expect(p.x >= -100.0f && p.x <= 420.0f, "live particle x", i, static_cast<int>(p.x));
    }
    expect(live == e.live_particles && in(live, 1, 100), "live_particles against particles", i,
           e.live_particles);
    expect(e.glow_radius <= 100, "glow_radius", i, e.glow_radius);
  }
  expect(active == active_explosions, "active_explosions against records", active,
         active_explosions);
}

}  // namespace

std::string world_fault() {
  fault.clear();
  check_counters();
  check_enemies();
  check_shots();
  check_explosions();
  return fault;
}
