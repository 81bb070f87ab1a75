// The enemy update (extra lives, the attack timers, the freeze, animation)
// and each kind's behaviour: slot moves, dodging, diving, returning and the
// fire check.
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

TEST_F(EnemiesTest, PointsOverFiveThousandGiveOneLifeAndFramesAdvanceEveryTenTicksAndWrap) {
  player.life_points = 5003;
  int e = add_enemy(8, 0, 1);  // four frames, starting at frame 1
  for (int tick = 0; tick < 30; ++tick) update_enemies();
  EXPECT_EQ(player.lives, 4);
  EXPECT_EQ(sounds(), (std::vector<Sound>{{10, 225, 1000}}));
  EXPECT_EQ(enemies[e].frame, 0);
  EXPECT_EQ(enemies[e].frame_timer, 0);
}

TEST_F(EnemiesTest, TheShotTimerReloadsAndFiresFromARandomEnemysTopEdge) {
  thirty_kind_1();
  shot_timer = 0;
  update_enemies();
  EXPECT_EQ(draws(), 2u);
  EXPECT_EQ(shot_timer, 41 % 18 - 1 - 0 + 30);
  const Enemy &e = enemies[18467 % 30];  // moved on after firing
  EXPECT_EQ(enemy_shots[0].x, e.x - 1 + 7);
  EXPECT_EQ(enemy_shots[0].y, e.y - 1);

  dive_timer = 0;
  update_enemies();
  EXPECT_EQ(dive_timer, 6334 % 36 - 1 - 0 + 30 + 40);
  EXPECT_EQ(enemies[26500 % 30].state, 1);
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

TEST_F(EnemiesTest, Kind1SitsOnItsBobbingSlotAndTurnsAtItsOwnEdge) {
  int e = add_enemy(1, 5, 2);  // sway limit 4
  for (int tick = 0; tick < 6; ++tick) enemy_behaviour(e);
  const Enemy &k = enemies[e];
  EXPECT_EQ(k.x, 66);
  EXPECT_EQ(k.y, 22 + 5 - 1);  // five down, then back up from sway 5
  enemies[e].home_x = 306;     // past 320 - 15
  enemy_behaviour(e);
  EXPECT_EQ(k.home_x, 305);
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

TEST_F(EnemiesTest, DodgesMoveAwayFromTheLastThreatFound) {
  int e = add_enemy(2, 0, 1);  // 22 x 24
  Enemy &k = enemies[e];
  k.x = 100;
  k.y = 50;
  k.state = 1;
  int right = put_player_shot(130, 100);  // in the right box only
  enemy_behaviour(e);
  EXPECT_EQ(k.x, 99);
  put_player_shot(85, 100);  // a later shot on the left wins
  EXPECT_EQ(shot_threat(e), -1);
  player_shots[right].x = 117;  // across the enemy's right edge: the right box wins
  player_shots[1].active = 0;
  EXPECT_EQ(shot_threat(e), 1);
}

TEST_F(EnemiesTest, TheFireCheckDrawsOnlyWhileTheShipIsBelow) {
  int e = add_enemy(2, 0, 3);  // returning from far below its slot
  enemies[e].state = 2;
  enemies[e].y = 100;
  enemy_behaviour(e);
  EXPECT_EQ(draws(), 0u);
  enemies[e].x = 150;
  enemy_behaviour(e);
  EXPECT_EQ(draws(), 1u);
  EXPECT_EQ(enemy_shots[0].active, 1);  // 41 % 60 + 1 > 15
}

TEST_F(EnemiesTest, AReturnEndsExactlyOnTheSlotAndAFleeingKind7DivesAgainAboveRow30) {
  Enemy &k = enemies[add_enemy(1, 5, 2)];
  k.state = 2;
  k.x = k.home_x + 3;  // the slot moves right towards it
  k.y = k.home_y;
  enemy_behaviour(0);
  EXPECT_EQ(k.state, 2);
  enemy_behaviour(0);
  EXPECT_EQ(k.x, k.home_x);
  EXPECT_EQ(k.state, 0);
  EXPECT_EQ(k.dx, k.home_dx);

  Enemy &f = enemies[add_enemy(7, 5, 3)];
  f.state = 3;
  f.y = 32;
  enemy_behaviour(1);
  EXPECT_EQ(f.y, 29);
  EXPECT_EQ(f.state, 1);
}
