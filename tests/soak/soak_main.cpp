// The soak run: a pseudo-random pilot plays the generated formations of all
// twelve levels, game after game, for a million ticks, and every tick the
// world is checked against its own counts and ranges. Built under
// AddressSanitizer and UndefinedBehaviorSanitizer; run in the data folder.
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "tests/support/headless_controls.h"
#include "tests/soak/soak_checks.h"
#include "tests/support/level_reset.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr long TOTAL_TICKS = 1'000'000;
constexpr long LEVEL_TICK_LIMIT = 40'000;  // a level still going after this is left
constexpr int CONTROLLER_TICKS = 600;

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
  if (autopilot) {
    autopilot_step();
    return;
  }
  if (run_left-- <= 0) {
    run_dir = below(3) - 1;
    run_left = 1 + below(40);
  }
  player.x += run_dir * player.max_speed;
  if (player.x < 0) player.x = 0;
  if (player.x > 290) player.x = 290;
  if (player.state != -3 && below(3) == 0) fire_player_weapon();
}

long ticks = 0;
int games = 0, played = 0, completed = 0, lost = 0, unfinished = 0;
long pickups[9] = {};

// Each bonus sample is played only by its pickup; in capsule kind order.
void count_pickups() {
  using namespace sound_object;
  const int sample_of_kind[9] = {SPEED_INCREASE,  ROCK_SHIELD,     FIREPOWER,     WEAPON,       TIME_FREEZE,
                                 SCORE_BONUS,     BIG_SCORE_BONUS, REVERSE_CONTROL, SHIP_DEGRADER};
  for (const headless::SampleCall &c : headless::samples())
    for (int k = 0; k < 9; ++k)
      if (c.object == sample_of_kind[k]) ++pickups[k];
  headless::clear_samples();
}

void start_level(int n) {
  reset_level_records(n);
  if ((n - 1) % 3 == 0 || !level_data) load_level_data();
  build_layout();
  option_shot_collisions = below(4) != 0;
  option_scroll = below(3) != 0;
  option_stars = below(5) != 0;
  ++played;
}

// Plays one level to its end or the tick limit; false on a fault.
bool play_level(int n) {
  start_level(n);
  for (long t = 0; t < LEVEL_TICK_LIMIT && ticks < TOTAL_TICKS; ++t) {
    if (t % CONTROLLER_TICKS == 0) autopilot = below(2) == 0;
    pilot_step();
    world_tick();
    ++ticks;
    count_pickups();
    std::string fault = world_fault();
    if (!fault.empty()) {
      std::printf("FAULT at tick %ld (level %d, tick %ld of it): %s\n", ticks, n, t, fault.c_str());
      return false;
    }
    completed += level_end == 2;
    lost += level_end == 1;
    if (level_end != 0) return true;
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
  if (load_level_data() != 0) {
    std::printf("soak: no level1.dat here; run it in the data folder\n");
    return 1;
  }
  int n = 1;
  bool ok = true;
  while (ok && ticks < TOTAL_TICKS) {
    ok = play_level(n);
    // A lost game, or one past level 12, starts again; either way the next
    // level follows, so that every pair of kinds gets its turn.
    if (level_end == 1 || n == 12) new_game();
    n = n % 12 + 1;
  }
  std::printf("soak: %ld ticks, %d games, %d levels played, %d completed, %d lost, %d left unfinished\n",
              ticks, games, played, completed, lost, unfinished);
  std::printf("  pickups by capsule kind:");
  bool every_kind = true;
  for (long p : pickups) std::printf(" %ld", p), every_kind = every_kind && p > 0;
  std::printf("\n");
  if (ok) std::printf("  every check held after every tick\n");
  return ok && completed > 0 && lost > 0 && every_kind ? 0 : 1;
}
