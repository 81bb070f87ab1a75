// The enemy update and the kinds' rules where the recorded games do not go:
// the extra life, the freeze, picks that find no live enemy or a kind 6,
// and the slots, rocks and flight of kinds 5 to 8. (The attack timers,
// dodges, returns, the fire check and kinds 1 to 4 in formation are pinned
// by the replays.)
#include "combat/collisions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "tests/support/world_test.h"
#include "world/behaviour.h"
#include "world/enemies.h"

class EnemiesTest : public WorldTest {
 protected:
  void thirty_kind_1() {
    for (int i = 0; i < 30; ++i) add_enemy(1, i % 15, 1 + i / 15);
  }
};

TEST_F(EnemiesTest, PointsOverFiveThousandGiveOneLife) {
  player.life_points = 5003;
  for (int tick = 0; tick < 3; ++tick) update_enemies();
  EXPECT_EQ(player.lives, 4);
  EXPECT_EQ(sounds(), (std::vector<Sound>{{10, 225, 1000}}));
}

TEST_F(EnemiesTest, AFreezeHoldsShotsAndMovesButNotDivesOrAnimation) {
  thirty_kind_1();
  freeze_ticks = 3;
  shot_timer = 0;
  dive_timer = 0;
  int home_x = enemies[0].x;
  update_enemies();
  update_enemies();
  EXPECT_EQ(shot_timer, -2);  // still falling, nothing fired
  EXPECT_EQ(enemies[0].x, home_x);
  EXPECT_EQ(draws(), 2u);  // the dive was picked all the same
  EXPECT_EQ(enemies[0].frame_timer, 2);
  // The count-down reaches 0 after the shot timer but before the enemies
  // move: they move again now, and the held shot follows a tick later.
  update_enemies();
  EXPECT_EQ(enemies[0].x, home_x + 1);
  EXPECT_EQ(enemy_shots[0].active, 0);
  update_enemies();
  EXPECT_EQ(enemy_shots[0].active, 1);
}

TEST_F(EnemiesTest, PicksGiveUpAfterTenDrawsKind6NeverFiresAndWithoutEnemiesNothingIsPicked) {
  start_random_dive();
  fire_random_shot();
  EXPECT_EQ(draws(), 0u);
  shot_timer = dive_timer = 0;
  update_enemies();
  EXPECT_EQ(draws(), 2u);  // only the two reloads

  add_enemy(6, 0, 1);
  add_enemy(6, 2, 1);
  fire_random_shot();
  EXPECT_EQ(draws(), 1u);
  EXPECT_EQ(enemy_shots[0].active, 0);
  enemies[0].active = enemies[1].active = 0;
  start_random_dive();
  EXPECT_EQ(draws(), 10u);
  EXPECT_EQ(enemies[0].state + enemies[1].state, 0);
}

TEST_F(EnemiesTest, AKind5AtTheRightEdgeTurnsTheWholeFormationInOneTick) {
  int before = add_enemy(5, 8, 1);
  add_enemy(6, 10, 1);
  int edge = add_enemy(5, 0, 2);
  enemies[edge].home_x = enemies[edge].x = 305;  // past 320 - 16
  for (int i = 0; i < enemy_count; ++i) enemy_behaviour(i);
  EXPECT_EQ(enemies[before].home_x, 97);  // moved right before the turn
  EXPECT_EQ(enemies[edge].home_x, 304);
  for (int i = 0; i < enemy_count; ++i) EXPECT_EQ(enemies[i].home_dx, -1) << i;
}

TEST_F(EnemiesTest, Kind7TurnsAt304WhateverItsWidth) {
  int e = add_enemy(7, 0, 1);
  enemies[e].home_x = 300;  // past 320 - 24, within 304
  enemy_behaviour(e);
  EXPECT_EQ(enemies[e].home_dx, 1);
  enemies[e].home_x = 305;
  enemy_behaviour(e);
  EXPECT_EQ(enemies[e].home_dx, -1);
}

TEST_F(EnemiesTest, AKind6SlotSinksSixPixelsAndHoldsItsDepthAndARockTurnsItsDiveBack) {
  int e = add_enemy(6, 5, 2);
  int start = enemies[e].home_y;
  for (int tick = 0; tick < 26; ++tick) enemy_behaviour(e);
  EXPECT_EQ(enemies[e].home_y, start + 6);
  enemies[e].state = 1;
  shield_rocks[0].state = 1;
  enemy_behaviour(e);
  EXPECT_EQ(enemies[e].state, 2);
}

TEST_F(EnemiesTest, AFleeingKind7DivesAgainAboveRow30) {
  Enemy &f = enemies[add_enemy(7, 5, 3)];
  f.state = 3;
  f.y = 32;
  enemy_behaviour(0);
  EXPECT_EQ(f.y, 29);
  EXPECT_EQ(f.state, 1);
}
