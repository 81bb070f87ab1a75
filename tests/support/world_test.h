// Test support: a level of play set up without datafiles, with the ship
// alive at (160, 214), the random sequence at its start and no samples yet.
#pragma once

#include "platform/headless/headless_controls.h"
#include "tests/support/headless_game.h"
#include "tests/support/level_reset.h"

#include "frame/game_state.h"

#include <cstdint>
#include <utility>
#include <vector>

class WorldTest : public HeadlessTest {
 protected:
  void SetUp() override;
  // Random numbers drawn since the last call (or since SetUp).
  uint64_t draws() { return random_draws - std::exchange(draw_mark_, random_draws); }
  uint64_t draw_mark_ = 0;
};

struct Sound {
  int object, volume, frequency;
  bool operator==(const Sound &) const = default;
};
// Samples played so far, each checked for centre pan and no loop.
std::vector<Sound> sounds();

// A free player shot placed at (x, y), counted in flight.
int put_player_shot(int x, int y);
int put_enemy_shot(int x, int y);
