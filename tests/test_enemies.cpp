// The enemy update where the recorded games do not go: the extra life at
// exactly 5000 points, and a standing rock turning a kind 6's dive back.
// (The attack timers, picks, the freeze, dodges, returns, the fire check
// and every kind's flight are pinned by the replays.)
#include "combat/collisions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "tests/support/world_test.h"
#include "world/behaviour.h"
#include "world/enemies.h"

using EnemiesTest = WorldTest;

// (Its sound, the points starting again from 0 and one life a time are
// pinned by the replays.)
TEST_F(EnemiesTest, ExactlyFiveThousandPointsGiveALife) {
  player.life_points = 5000;
  update_enemies();
  EXPECT_EQ(player.lives, 4);
}

TEST_F(EnemiesTest, AKind6SlotSinksSixPixelsAndHoldsItsDepthAndARockTurnsItsDiveBack) {
  int e = add_enemy(KIND_DROPPER, 5, 2);
  int start = enemies[e].home_y;
  for (int tick = 0; tick < 26; ++tick) enemy_behaviour(e);
  EXPECT_EQ(enemies[e].home_y, start + 6);
  enemies[e].state = ENEMY_DIVING;
  shield_rocks[0].state = ROCK_STANDING;
  enemy_behaviour(e);
  EXPECT_EQ(enemies[e].state, ENEMY_RETURNING);
}
