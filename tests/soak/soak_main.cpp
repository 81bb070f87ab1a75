// The soak run: a pseudo-random pilot plays the generated formations of all
// twelve levels, game after game, for a million ticks, and after every tick
// the world is checked against its own counts and ranges. Built under
// AddressSanitizer and UndefinedBehaviorSanitizer; run in the data folder.
#include "combat/weapons.h"
#include "frame/autopilot.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/headless/headless_controls.h"
#include "tests/support/level_reset.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string>

namespace {

constexpr long TOTAL_TICKS = 1'000'000;
constexpr long LEVEL_TICK_LIMIT = 40'000;  // a level still going after this is left
constexpr int CONTROLLER_TICKS = 600;

// A value that must lie within lo .. hi.
struct Bound {
  const char *what;
  int value, lo, hi;
};
constexpr int ANY = INT_MIN;

std::string fault;  // the first rule broken, with its record and value

void expect(std::initializer_list<Bound> bounds, int record = -1) {
  for (const Bound &b : bounds)
    if (fault.empty() && (b.value < b.lo || b.value > b.hi))
      fault = std::string(b.what) + " (record " + std::to_string(record) + ", value " +
              std::to_string(b.value) + ")";
}

// Checks each active record of a table (record, index); how many are active.
template <typename Records, typename Check>
int check_active(const Records &records, Check check) {
  int active = 0;
  for (int i = 0; i < static_cast<int>(std::size(records)); ++i)
    if (records[i].active == 1) ++active, check(records[i], i);
  return active;
}

// Every count agrees with its records, and every counter and coordinate
// lies in its range.
void check_world() {
  const Player &p = player;
  int shots = check_active(player_shots, [](const PlayerShot &s, int i) {
    expect({{"player shot y", s.y, 0, 210}}, i);
  });
  check_active(enemy_shots, [](const EnemyShot &s, int i) {
    expect({{"enemy shot x", s.x, 0, 320}, {"enemy shot y", s.y, ANY, 240}}, i);
  });
  check_active(capsules, [](const Capsule &c, int i) {
    expect({{"capsule y", c.y, ANY, 232}, {"capsule kind", c.kind, 26, 34}}, i);
  });
  // A slot turns one pixel past its bound, but a formation that turns as
  // one can push another slot on a little, so only a loose bound holds.
  check_active(enemies, [](const Enemy &e, int i) {
    expect({{"enemy state", e.state, ENEMY_IN_FORMATION, e.kind == KIND_FLEER ? ENEMY_FLEEING : ENEMY_RETURNING},
            {"enemy frame", e.frame, 0, e.frame_count - 1},
            {"enemy sway", e.sway, -e.sway_limit - 1, e.sway_limit + 1},
            {"slot home_x", e.home_x, -40, 360},
            {"enemy hit_points", e.hit_points, 1, 12}},
           i);
  });
  int active_records = check_active(explosions, [](const Explosion &e, int i) {
    // Moving past a side kills a particle; one started off the screen
    // this tick (beside a shot at the edge) has not moved yet.
    int live = check_active(e.particles, [i](const Particle &q, int) {
      expect({{"live particle x", static_cast<int>(q.x), -100, 420}}, i);
    });
    expect({{"live_particles against particles", e.live_particles, live, live},
            {"live particles", live, 1, 100},
            {"glow_radius", e.glow_radius, ANY, 100}},
           i);
  });
  for (int i = 0; i < MAX_SHIELD_ROCKS; ++i)
    expect({{"rock damage", shield_rocks[i].damage, 0, shield_rocks[i].state == ROCK_ABSENT ? 5 : 4}}, i);
  // Reloads lie within -12 .. 57. A freeze lets the shot timer fall on (and
  // a second freeze longer still) until the tick after it ends.
  static int last_freeze = 0;
  int lowest = freeze_ticks > 0 || last_freeze > 0 ? ANY : -12;
  last_freeze = freeze_ticks;
  bool alive = p.lives > 0;
  bool known_state = p.state == SHIP_ALIVE || p.state == SHIP_REAPPEARING || p.state == SHIP_EXPLODING;
  expect(
      {{"ship state", known_state ? 1 : int(p.state), 1, 1},
       {"ship x", p.x, 0, 290},
       {"max_speed", p.max_speed, 2, 7},
       {"weapon", p.weapon, 1, 3},
       {"firepower and its cap by weapon", p.firepower, 2,
        p.weapon == 1   ? 4
        : p.weapon == 2 ? 8
                        : 12},
       {"exploding ticks", alive && p.state == SHIP_EXPLODING ? p.state_ticks : 0, ANY, 119},
       {"reappearing ticks", alive && p.state == SHIP_REAPPEARING ? p.state_ticks : 0, ANY, 89},
       {"level_end", level_end, LEVEL_PLAYING, LEVEL_COMPLETE},
       {"enemy_count", enemy_count, 0, MAX_ENEMIES},
       {"enemies_destroyed", enemies_destroyed, 0, enemy_count},
       {"reverse_ticks", reverse_ticks, 0, 800},
       {"freeze_ticks", freeze_ticks, 0, 250},
       {"scroll_y", scroll_y, 0, 719},
       {"scroll_tick", scroll_tick, 0, 6},
       {"shot_timer", shot_timer, lowest, 57},
       {"dive_timer", dive_timer, 0, 250},
       {"shots_hit", shots_hit, 0, shots_fired},
       {"shots_in_flight against active shots", p.shots_in_flight, shots, shots},
       {"active_explosions against records", active_explosions, active_records, active_records}});
}

// The pilot's own generator, so that its choices do not move the game's
// random sequence except through what it makes happen.
uint32_t rng_state = 0x9e3779b9u;
int below(int n) {
  rng_state ^= rng_state << 13;
  rng_state ^= rng_state >> 17;
  rng_state ^= rng_state << 5;
  return static_cast<int>(rng_state % static_cast<uint32_t>(n));
}

// Each stretch of play is the demo's autopilot or a wanderer: runs of 1 to
// 40 ticks left, right or still, firing one tick in three.
bool autopilot = true;
int run_left = 0, run_dir = 0;

void pilot_step() {
  if (autopilot) return autopilot_step();
  if (run_left-- <= 0) {
    run_dir = below(3) - 1;
    run_left = 1 + below(40);
  }
  player.x = std::clamp(player.x + run_dir * player.max_speed, 0, 290);
  if (player.state != -3 && below(3) == 0) fire_player_weapon();
}

long ticks = 0;
int games = 0, played = 0, completed = 0, lost = 0, unfinished = 0;
long plays[64] = {};  // of each sample; a bonus's is played only by its pickup

// Plays one level to its end or the tick limit; false on a fault.
bool play_level(int n) {
  reset_level_records(n);
  if ((n - 1) % 3 == 0 || !level_data) load_level_data();
  build_layout();
  option_shot_collisions = below(4) != 0;
  option_scroll = below(3) != 0;
  option_stars = below(5) != 0;
  ++played;
  for (long t = 0; t < LEVEL_TICK_LIMIT && ticks < TOTAL_TICKS; ++t) {
    if (t % CONTROLLER_TICKS == 0) autopilot = below(2) == 0;
    pilot_step();
    world_tick();
    ++ticks;
    for (const headless::SampleCall &c : headless::samples()) ++plays[c.object];
    headless::clear_samples();
    check_world();
    if (!fault.empty()) {
      std::printf("FAULT at tick %ld (level %d, tick %ld of it): %s\n", ticks, n, t, fault.c_str());
      return false;
    }
    completed += level_end == LEVEL_COMPLETE;
    lost += level_end == LEVEL_GAME_OVER;
    if (level_end != LEVEL_PLAYING) return true;
  }
  unfinished += ticks < TOTAL_TICKS;
  return true;
}

// In half the games the pilot has spare ships, so that every level is
// completed as well as lost.
void new_game() {
  reset_game();
  ++games;
  if (below(2) == 1) player.lives = 99;
}

}  // namespace

int main() {
  headless::init_library();
  headless::reset();
  install_test_palette();
  new_game();
  if (load_level_data() != 0)
    return std::printf("soak: no level1.dat; run it in the data folder\n"), 1;
  int n = 1;
  bool ok = true;
  while (ok && ticks < TOTAL_TICKS) {
    ok = play_level(n);
    // A lost game, or one past level 12, starts again; either way the next
    // level follows, so that every pair of kinds gets its turn.
    if (level_end == LEVEL_GAME_OVER || n == 12) new_game();
    n = n % 12 + 1;
  }
  std::printf(
      "soak: %ld ticks, %d games, %d levels played, %d completed, %d lost, %d left unfinished\n",
      ticks, games, played, completed, lost, unfinished);
  std::printf("  pickups by capsule kind:");
  bool every_kind = true;
  using namespace sound_object;
  for (int s : {SPEED_INCREASE, ROCK_SHIELD, FIREPOWER, WEAPON, TIME_FREEZE, SCORE_BONUS,
                BIG_SCORE_BONUS, REVERSE_CONTROL, SHIP_DEGRADER})
    std::printf(" %ld", plays[s]), every_kind = every_kind && plays[s] > 0;
  std::printf("\n");
  if (ok) std::printf("  every check held after every tick\n");
  return ok && completed > 0 && lost > 0 && every_kind ? 0 : 1;
}
