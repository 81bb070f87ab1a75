// Placeholder world: a level lasts ten seconds and then counts as complete.
#include "world/world_tick.h"

#include "frame/game_state.h"

std::array<ExhaustParticle, MAX_EXHAUST> exhaust = {};

namespace {
int ticks_in_level = 0;
}

void spawn_exhaust(int) {}
void move_explosions() {}

void world_tick() {
  if (player.state == -2 && ++player.state_ticks >= 90) player.state = 1;
  if (++ticks_in_level >= 600) {
    ticks_in_level = 0;
    level_end = 2;
  }
}
