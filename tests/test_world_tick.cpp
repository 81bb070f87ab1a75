// One tick of play where the recorded games do not go: a level won and lost
// on the same tick, explosions of counts outside 1 to 100 and a full table
// of them. (The ship's states, the exhaust, the stars, the scroll switched
// off and what leaves the screen are pinned by the replays.)
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "tests/support/world_test.h"
#include "world/enemies.h"
#include "world/explosion_motion.h"
#include "world/world_tick.h"

using WorldTickTest = WorldTest;

TEST_F(WorldTickTest, TheLevelEndsOnlyOnceTheLastExplosionHasDiedAndWonAndLostTogetherIsWon) {
  int e = add_enemy(KIND_STEADY, 5, 1);
  enemies[e].hit_points = 1;
  put_player_shot(62, 20);  // meets the enemy after this tick's move
  world_tick();
  EXPECT_EQ(enemies_destroyed, 1);
  player.lives = 0;  // lost as well: the loss waits for the explosions too
  int ticks = 1;
  for (; active_explosions > 0 && ticks < 1000; ++ticks) {
    world_tick();
    EXPECT_EQ(level_end, LEVEL_PLAYING);
  }
  EXPECT_GT(ticks, 60);
  world_tick();
  EXPECT_EQ(level_end, LEVEL_COMPLETE);
  add_enemy(KIND_STEADY, 5, 1);
  level_end = LEVEL_PLAYING;
  world_tick();
  EXPECT_EQ(level_end, LEVEL_GAME_OVER);
}

TEST_F(WorldTickTest, AnExplosionOfAnyCountEndsAndAFullTableDropsTheStart) {
  start_explosion(160, 100, 0, 0, 0);
  start_explosion(160, 100, 150, 0, 0);
  EXPECT_EQ(std::pair(explosions[0].live_particles, explosions[1].live_particles), std::pair(1, 100));
  for (int tick = 0; tick < 1000 && active_explosions > 0; ++tick) move_explosions();
  EXPECT_EQ(active_explosions, 0);

  for (Explosion &e : explosions) e.active = 1;
  active_explosions = 100;
  draws();
  start_explosion(10, 10, 8, 0, 0);
  EXPECT_EQ(std::pair(active_explosions, draws()), std::pair(100, uint64_t(0)));
}
