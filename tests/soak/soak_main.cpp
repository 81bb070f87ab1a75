// The soak run: a pseudo-random pilot plays formations of all eight enemy
// kinds, level after level, for a million ticks, and every tick the world is
// checked against its own counts and ranges. Built under AddressSanitizer
// and UndefinedBehaviorSanitizer. Prints what it exercised.
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "platform/headless.h"
#include "tests/soak/soak_checks.h"
#include "tests/support/level_reset.h"
#include "world/enemies.h"
#include "world/enemy_kinds.h"
#include "world/world_tick.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr long TOTAL_TICKS = 1'000'000;
constexpr long LEVEL_TICK_LIMIT = 40'000;  // a level still going after this is left
constexpr int CONTROLLER_TICKS = 600;

// The pilot's own generator, so that its choices do not move the game's
// random sequence except through what it makes happen.
struct Rng {
  uint32_t state = 0x9e3779b9u;
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};
Rng rng;

// A formation like the generated ones: the group's two kinds in alternate
// upper rows, spaced by their width, at most 40.
void build_formation(int n) {
  int first = group_first_kind(level_group(n));
  for (int row = 1; row <= 6 && enemy_count < MAX_ENEMIES; ++row) {
    int kind = first + (row + n) % 2;
    int step = (enemy_kinds[kind].width + 11) / 12;
    for (int col = rng.below(step); col < 20 && enemy_count < MAX_ENEMIES; col += step) {
      if (12 * col + enemy_kinds[kind].width > 320) break;
      if (rng.below(5) != 0) add_enemy(kind, col, row);
    }
  }
}

enum class Controller { autopilot, wanderer, hunter };
Controller controller = Controller::autopilot;
int run_left = 0, run_dir = 0;

void steer(int dir) {
  player.x += dir * player.max_speed;
  if (player.x < 0) player.x = 0;
  if (player.x > 290) player.x = 290;
}

// Heads for a falling capsule, else for the column under a live enemy.
int hunter_target() {
  for (const Capsule &c : capsules)
    if (c.active == 1 && c.y > 120) return c.x - 2;
  for (int i = 0; i < enemy_count; ++i)
    if (enemies[i].active == 1) return enemies[i].x + enemies[i].width / 2 - 8;
  return player.x;
}

// Away from an enemy shot falling into the ship's column, else 0.
int dodge_direction() {
  for (const EnemyShot &s : enemy_shots) {
    if (s.active != 1 || s.y < 140 || s.y > 214) continue;
    int gap = player.x + 8 - s.x;
    if (gap > -16 && gap < 24) return gap >= 0 ? 1 : -1;
  }
  return 0;
}

void pilot_step() {
  if (controller == Controller::autopilot) {
    autopilot_step();
    return;
  }
  if (int away = dodge_direction(); away != 0 && rng.below(8) != 0) {
    steer(player.x == 0 || player.x == 290 ? -away : away);
  } else if (controller == Controller::hunter) {
    int gap = hunter_target() - player.x;
    steer((gap > 1) - (gap < -1));
  } else {
    if (run_left-- <= 0) {
      run_dir = rng.below(3) - 1;
      run_left = 1 + rng.below(40);
    }
    steer(run_dir);
  }
  if (player.state != -3 && rng.below(3) == 0) fire_player_weapon();
}

struct Figures {
  long ticks = 0;
  int played[13] = {}, completed[13] = {}, lost[13] = {}, unfinished = 0, games = 0;
  long pickups[9] = {};
  long extra_lives = 0;
};
Figures figures;

// The bonus samples are played only by pickups; in capsule kind order.
void count_pickups() {
  using namespace sound_object;
  const int sample_of_kind[9] = {SPEED_INCREASE, ROCK_SHIELD,     FIREPOWER,
                                 WEAPON,         TIME_FREEZE,     SCORE_BONUS,
                                 BIG_SCORE_BONUS, REVERSE_CONTROL, SHIP_DEGRADER};
  for (const headless::SampleCall &c : headless::samples()) {
    if (c.object == sound_object::EXTRA_LIFE) ++figures.extra_lives;
    for (int k = 0; k < 9; ++k)
      if (c.object == sample_of_kind[k]) ++figures.pickups[k];
  }
  headless::clear_samples();
}

// The generated formation of the level when the datafiles are at hand (the
// run starts in the data folder), else one built like them.
void place_formation(int n) {
  if ((n - 1) % 3 == 0 || !level_data) load_level_data();
  if (level_data)
    build_layout();
  else
    build_formation(n);
}

void start_level(int n) {
  reset_level_records(n);
  place_formation(n);
  option_shot_collisions = rng.below(4) != 0;
  option_scroll = rng.below(3) != 0;
  option_stars = rng.below(5) != 0;
  ++figures.played[n];
}

// Plays one level to its end or the tick limit; false on a fault.
bool play_level(int n) {
  start_level(n);
  for (long t = 0; t < LEVEL_TICK_LIMIT && figures.ticks < TOTAL_TICKS; ++t) {
    if (t % CONTROLLER_TICKS == 0) controller = static_cast<Controller>(rng.below(3));
    pilot_step();
    world_tick();
    ++figures.ticks;
    count_pickups();
    std::string fault = world_fault();
    if (!fault.empty()) {
      std::printf("FAULT at tick %ld (level %d, tick %ld of it): %s\n", figures.ticks, n, t,
                  fault.c_str());
      return false;
    }
    if (level_end == 2) ++figures.completed[n];
    if (level_end == 1) ++figures.lost[n];
    if (level_end != 0) return true;
  }
  if (figures.ticks < TOTAL_TICKS) ++figures.unfinished;
  return true;
}

void report() {
  const char *bonus[9] = {"SPEED INCREASE", "ROCK SHIELD",     "FIREPOWER",
                          "WEAPON",         "TIME FREEZE",     "SCORE BONUS",
                          "BIG SCORE BONUS", "REVERSE CONTROL", "SHIP DEGRADER"};
  int played = 0, completed = 0, lost = 0;
  for (int n = 1; n <= 12; ++n) {
    played += figures.played[n];
    completed += figures.completed[n];
    lost += figures.lost[n];
  }
  std::printf("soak: %ld ticks, %d games, %d levels played, %d completed, %d lost, %d left "
              "unfinished\n",
              figures.ticks, figures.games, played, completed, lost, figures.unfinished);
  for (int n = 1; n <= 12; ++n)
    std::printf("  level %2d (kinds %d and %d): played %d, completed %d, lost %d\n", n,
                group_first_kind(level_group(n)), group_first_kind(level_group(n)) + 1,
                figures.played[n], figures.completed[n], figures.lost[n]);
  std::printf("  bonus pickups:");
  for (int k = 0; k < 9; ++k) std::printf("%s %s %ld", k ? "," : "", bonus[k], figures.pickups[k]);
  std::printf("\n  extra lives: %ld\n", figures.extra_lives);
  std::printf("  enemy positions seen: x %d to %d, y %d to %d; slots from %d to %d\n",
              enemy_extent.min_x, enemy_extent.max_x, enemy_extent.min_y, enemy_extent.max_y,
              enemy_extent.min_home_x, enemy_extent.max_home_x);
}

// In half the games the pilot has spare ships, so that every level is
// completed as well as lost.
void new_game() {
  reset_game();
  ++figures.games;
  if (rng.below(2) == 1) player.lives = 99;
}

}  // namespace

int main() {
  headless::init_library();
  headless::reset();
  install_test_palette();
  new_game();
  int n = 1;
  while (figures.ticks < TOTAL_TICKS) {
    if (!play_level(n)) {
      report();
      return 1;
    }
    // A lost game, or one past level 12, starts again; either way the next
    // level follows, so that every pair of kinds gets its turn.
    if (level_end == 1 || n == 12) new_game();
    n = n % 12 + 1;
  }
  report();
  std::printf("  every check held after every tick\n");
  int completed = 0;
  for (int k = 1; k <= 12; ++k) completed += figures.completed[k];
  return completed > 0 ? 0 : 1;
}
