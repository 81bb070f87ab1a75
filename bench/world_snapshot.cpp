#include "bench/world_snapshot.h"

#include "frame/random.h"

namespace {

int *const counter_refs[12] = {&shots_fired,       &shots_hit,  &reverse_ticks,
                               &scroll_y,    &scroll_tick,       &enemy_count, &enemies_destroyed,
                               &shot_timer,  &dive_timer,        &freeze_ticks,
                               &active_explosions, &direction_cursor};

}  // namespace

void WorldSnapshot::save() {
  player_copy = player;
  for (int i = 0; i < 12; ++i) counters[i] = *counter_refs[i];
  level_end_copy = level_end;
  random_state_copy = random_state;
  random_draws_copy = random_draws;
  stars_copy = stars;
  enemies_copy = enemies;
  enemy_shots_copy = enemy_shots;
  player_shots_copy = player_shots;
  capsules_copy = capsules;
  rocks_copy = shield_rocks;
  exhaust_copy = exhaust;
  explosions_copy = explosions;
}

void WorldSnapshot::restore() const {
  player = player_copy;
  for (int i = 0; i < 12; ++i) *counter_refs[i] = counters[i];
  level_end = level_end_copy;
  random_state = random_state_copy;
  random_draws = random_draws_copy;
  stars = stars_copy;
  enemies = enemies_copy;
  enemy_shots = enemy_shots_copy;
  player_shots = player_shots_copy;
  capsules = capsules_copy;
  shield_rocks = rocks_copy;
  exhaust = exhaust_copy;
  explosions = explosions_copy;
}
