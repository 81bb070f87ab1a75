// One tick of play: the end of a level, the ship's states, movement at the
// screen edges, the background scroll, the stars and the exhaust.
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/random.h"
#include "render/starfield.h"
#include "tests/support/world_test.h"
#include "world/enemies.h"
#include "world/world_tick.h"

class WorldTickTest : public WorldTest {};

TEST_F(WorldTickTest, TheLevelEndsOnlyOnceTheLastExplosionHasDiedAndWonAndLostTogetherIsWon) {
  int e = add_enemy(1, 5, 1);
  enemies[e].hit_points = 1;
  put_player_shot(62, 20);  // meets the enemy after this tick's move
  world_tick();
  EXPECT_EQ(enemies_destroyed, 1);
  player.lives = 0;  // lost as well: the loss waits for the explosions too
  int ticks = 1;
  for (; active_explosions > 0 && ticks < 1000; ++ticks) {
    world_tick();
    EXPECT_EQ(level_end, 0);
  }
  EXPECT_GT(ticks, 60);
  world_tick();
  EXPECT_EQ(level_end, 2);
  add_enemy(1, 5, 1);
  level_end = 0;
  world_tick();
  EXPECT_EQ(level_end, 1);
}

TEST_F(WorldTickTest, AHitShipReappearsAfter120TicksAndIsAlive90Later) {
  player.state = -3;
  player.x = 40;
  for (int tick = 0; tick < 119; ++tick) world_tick();
  EXPECT_EQ(player.state, -3);
  world_tick();
  EXPECT_EQ(player.state, -2);
  EXPECT_EQ(player.x, 160);
  for (int tick = 0; tick < 89; ++tick) world_tick();
  EXPECT_EQ(player.state, -2);
  world_tick();
  EXPECT_EQ(player.state, 1);
}

TEST_F(WorldTickTest, ThingsLeaveTheScreenAtTheirOwnEdges) {
  player.state = -2;
  capsules[0] = Capsule{10, 231, 1, 16, 0, 0, 2, 31, 12, 12};
  int low = put_enemy_shot(10, 238);
  put_player_shot(10, 3);
  world_tick();
  EXPECT_EQ(capsules[0].active, 0);
  EXPECT_EQ(enemy_shots[low].active, 1);  // at y 240 it survives this tick
  EXPECT_EQ(player.shots_in_flight, 0);
  world_tick();
  EXPECT_EQ(enemy_shots[low].active, 0);
}

TEST_F(WorldTickTest, NearStarsStepEveryThirdTickFarOnesEverySixthAndRow240WrapsToANewColumn) {
  for (Star &s : stars) s = {5, 100, 3, 1, 5};
  stars[0] = {10, 100, 0, 1, 2};
  stars[2] = {5, 240, 0, 1, 0};
  step_stars();
  EXPECT_EQ(draws(), 1u);
  EXPECT_EQ(stars[2].y, 0);
  EXPECT_EQ(stars[2].x, 41);
  for (int tick = 2; tick <= 5; ++tick) step_stars();
  EXPECT_EQ(stars[0].y, 101);
  EXPECT_EQ(stars[1].y, 100);
  step_stars();
  EXPECT_EQ(stars[0].y, 102);  // steps at ticks 3 and 6
  EXPECT_EQ(stars[1].y, 101);  // at tick 6
}

TEST_F(WorldTickTest, StarsFollowTheScrollUntilItsTopUnlessScrollingIsOff) {
  player.state = -2;  // no exhaust draws
  int y0 = stars[0].y;
  for (int tick = 0; tick < 7; ++tick) world_tick();
  EXPECT_EQ(scroll_y, 718);
  EXPECT_NE(stars[0].y, y0);
  option_scroll = 0;
  for (int tick = 0; tick < 70; ++tick) world_tick();
  EXPECT_EQ(scroll_y, 718);
  scroll_y = 0;
  y0 = stars[0].y;
  for (int tick = 0; tick < 70; ++tick) world_tick();
  EXPECT_EQ(stars[0].y, y0);
}

TEST_F(WorldTickTest, ExhaustSpecksAppearOnlyUnderALiveShip) {
  random_number();  // from 18467 on, so that every draw tells
  spawn_exhaust(3);
  const ExhaustParticle &p = exhaust[3];
  EXPECT_EQ(p.x, 160 + 7 + (18467 & 3));
  EXPECT_EQ(p.y, 214 + 17 + (6334 & 3));
  EXPECT_EQ(p.dx, 26500 % 3 - 1);
  EXPECT_EQ(p.dy, 19169 % 3 + 1);
  EXPECT_EQ(p.life, 4 + (15724 & 3));
  player.state = -2;
  for (int tick = 0; tick < 5; ++tick) world_tick();
  EXPECT_EQ(exhaust[3].active, 0);
  player.state = 1;
  world_tick();
  EXPECT_EQ(exhaust[0].active + exhaust[MAX_EXHAUST - 1].active, 2);
}
