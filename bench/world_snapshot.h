// A copy of everything one tick of play reads or changes, so that a
// benchmark can put the same world back before every timed tick.
#pragma once

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "render/starfield.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <cstdint>

struct WorldSnapshot {
  Player player_copy;
  int counters[12];  // the game-wide counters of one tick, in counter order
  LevelEnd level_end_copy;
  uint32_t random_state_copy;
  uint64_t random_draws_copy;
  std::array<Star, star_count> stars_copy;
  std::array<Enemy, MAX_ENEMIES> enemies_copy;
  std::array<EnemyShot, MAX_ENEMY_SHOTS> enemy_shots_copy;
  std::array<PlayerShot, MAX_PLAYER_SHOTS> player_shots_copy;
  std::array<Capsule, MAX_CAPSULES> capsules_copy;
  std::array<ShieldRock, MAX_SHIELD_ROCKS> rocks_copy;
  std::array<ExhaustParticle, MAX_EXHAUST> exhaust_copy;
  std::array<Explosion, MAX_EXPLOSIONS> explosions_copy;

  void save();
  void restore() const;
};
