// The enemy update: extra lives, the attack timers, the freeze, animation.
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "tests/support/world_test.h"
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
  EXPECT_EQ(player.life_points, 0);
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
