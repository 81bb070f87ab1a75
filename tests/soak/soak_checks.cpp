#include "tests/soak/soak_checks.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "world/enemies.h"

#include <climits>
#include <cstdio>
#include <initializer_list>

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

// A value that must lie within lo .. hi.
struct Bound {
  const char *what;
  int value, lo, hi;
};
constexpr int ANY = INT_MIN;

void expect_all(std::initializer_list<Bound> bounds, int index = -1) {
  for (const Bound &b : bounds) expect(in(b.value, b.lo, b.hi), b.what, index, b.value);
}

// The ship and the counters of the level.
void check_counters() {
  const Player &p = player;
  expect(p.state == 1 || p.state == -2 || p.state == -3, "ship state", -1, p.state);
  // Reloads lie within -12 .. 57. A freeze lets the shot timer fall on (and
  // a second freeze longer still) until the tick after it ends.
  static int last_freeze = 0;
  int lowest = freeze_ticks > 0 || last_freeze > 0 ? ANY : -12;
  last_freeze = freeze_ticks;
  bool alive = p.lives > 0;
  expect_all({{"ship x", p.x, 0, 290},
              {"max_speed", p.max_speed, 2, 7},
              {"weapon", p.weapon, 1, 3},
              {"firepower and its cap by weapon", p.firepower, 2, p.weapon == 1 ? 4 : p.weapon == 2 ? 8 : 12},
              {"exploding ticks", alive && p.state == -3 ? p.state_ticks : 0, ANY, 119},
              {"reappearing ticks", alive && p.state == -2 ? p.state_ticks : 0, ANY, 89},
              {"level_end", level_end, 0, 2},
              {"enemy_count", enemy_count, 0, MAX_ENEMIES},
              {"enemies_destroyed", enemies_destroyed, 0, enemy_count},
              {"reverse_ticks", reverse_ticks, 0, 800},
              {"freeze_ticks", freeze_ticks, 0, 250},
              {"scroll_y", scroll_y, 0, 719},
              {"scroll_tick", scroll_tick, 0, 6},
              {"shot_timer", shot_timer, lowest, 57},
              {"dive_timer", dive_timer, 0, 250},
              {"shots_hit", shots_hit, 0, shots_fired}});
}

// The enemies, the shield rocks, the shots and the capsules.
void check_objects() {
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    // A slot turns one pixel past its bound, but a formation that turns as
    // one can push another slot on a little, so only a loose bound holds.
    if (e.active == 1)
      expect_all({{"enemy state", e.state, 0, e.kind == 7 ? 3 : 2},
                  {"enemy frame", e.frame, 0, e.frame_count - 1},
                  {"enemy sway", e.sway, -e.sway_limit - 1, e.sway_limit + 1},
                  {"slot home_x", e.home_x, -40, 360},
                  {"enemy hit_points", e.hit_points, 1, 12}},
                 i);
  }
  for (int i = 0; i < MAX_SHIELD_ROCKS; ++i)
    expect_all({{"rock damage", shield_rocks[i].damage, 0, shield_rocks[i].state == 0 ? 5 : 4}}, i);
  int flying = 0;
  for (int i = 0; i < MAX_PLAYER_SHOTS; ++i)
    if (player_shots[i].active == 1) ++flying, expect_all({{"player shot y", player_shots[i].y, 0, 210}}, i);
  expect(flying == player.shots_in_flight, "shots_in_flight against active shots", flying,
         player.shots_in_flight);
  for (int i = 0; i < MAX_ENEMY_SHOTS; ++i)
    if (enemy_shots[i].active == 1)
      expect_all({{"enemy shot x", enemy_shots[i].x, 0, 320}, {"enemy shot y", enemy_shots[i].y, ANY, 240}}, i);
  for (int i = 0; i < MAX_CAPSULES; ++i)
    if (capsules[i].active == 1)
      expect_all({{"capsule y", capsules[i].y, ANY, 232}, {"capsule kind", capsules[i].kind, 26, 34}}, i);
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
  check_objects();
  check_explosions();
  return fault;
}
