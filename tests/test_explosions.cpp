// The random sequence, the direction table a new game draws from it, and
// explosions started and moved with both.
#include "combat/explosions.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/random.h"
#include "tests/support/world_test.h"
#include "world/world_tick.h"

class ExplosionsTest : public WorldTest {};

TEST_F(ExplosionsTest, TheSequenceFromStateOneAndTheDirectionTableOfANewGame) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int e : expected) EXPECT_EQ(random_number(), e);
  EXPECT_EQ(draws(), 10u);
  random_state = 0x7fffffff;  // the top bits of the state are masked off
  for (int i = 0; i < 1000; ++i) ASSERT_LE(random_number(), 32767);

  random_state = 1;
  draws();
  reset_game();
  EXPECT_EQ(draws(), 200u);
  // 41 % 100 = 41 -> 41 * 0.04 - 2 = -0.36; 18467 % 100 = 67 -> 0.68
  EXPECT_FLOAT_EQ(direction_table[0], -0.36f);
  EXPECT_FLOAT_EQ(direction_table[1], 0.68f);
}

TEST_F(ExplosionsTest, AStartFillsEveryParticleWithFourDrawsAndTheCursorWraps) {
  direction_cursor = 150;
  start_explosion(100, 50, 10, 3, 1);
  EXPECT_EQ(draws(), 400u);
  EXPECT_EQ(direction_cursor, 52);  // 150 + 100, modulo 198
  const Explosion &e = explosions[0];
  EXPECT_EQ(e.particles[9].active, 1);
  EXPECT_EQ(e.particles[10].active, 0);
  const Particle &first = e.particles[0];  // 41, 18467, 6334 (h = 0), 26500
  EXPECT_FLOAT_EQ(first.dx, direction_table[151]);
  EXPECT_FLOAT_EQ(first.dy, direction_table[152]);
  EXPECT_EQ(first.life, 26500 % 150 + 10 + 45);
  // The third particle drew a = -4, b = -6, h = 1: up and to the left.
  EXPECT_EQ(e.particles[2].x, 96.0f);
  EXPECT_EQ(e.particles[2].trail_y[5], 44);

  direction_cursor = 197;
  random_state = 1;
  random_number();  // the third particle draws 24464, 5705, 28145: a = -4, b = -5, h = 1
  start_explosion(10, 10, 8, 0, 0);
  EXPECT_EQ(explosions[1].particles[0].dx, direction_table[0]);
  EXPECT_EQ(explosions[1].particles[2].x, 6.0f);
  EXPECT_EQ(explosions[1].particles[2].y, 5.0f);
}

TEST_F(ExplosionsTest, AFullTableDropsTheStartAndACountOutsideOneToAHundredStillEnds) {
  start_explosion(160, 100, 0, 0, 0);
  start_explosion(160, 100, 150, 0, 0);
  EXPECT_EQ(explosions[0].live_particles, 1);
  EXPECT_EQ(explosions[1].live_particles, 100);
  for (int tick = 0; tick < 1000 && active_explosions > 0; ++tick) move_explosions();
  EXPECT_EQ(active_explosions, 0);

  for (Explosion &e : explosions) e.active = 1;
  active_explosions = 100;
  draws();
  start_explosion(10, 10, 8, 0, 0);
  EXPECT_EQ(active_explosions, 100);
  EXPECT_EQ(draws(), 0u);
}

TEST_F(ExplosionsTest, ParticlesBounceDieAtTheSidesOrWithTheirTrailAndEndTheExplosion) {
  start_explosion(160, 100, 10, 0, 0);
  Explosion &e = explosions[0];
  for (int i = 0; i < 10; ++i) move_explosions();
  EXPECT_EQ(e.glow_radius, 0);  // the ring is gone after 10 ticks

  Particle &p = e.particles[0];
  p.x = 100.7f;
  p.y = 240.0f;
  p.dx = 0.0f;
  p.dy = 1.0f;
  p.trail_x[0] = 7;
  Particle &q = e.particles[1];
  q.life = 4;
  q.trail_len = 0;
  move_explosions();
  EXPECT_EQ(p.trail_x[1], 7);
  EXPECT_EQ(p.trail_x[0], 100);  // the position before the move, truncated
  EXPECT_FLOAT_EQ(p.dy, -0.5f + 0.06f);
  EXPECT_EQ(q.active, 0);  // life reached 0: the trail shortened below 0
  EXPECT_EQ(e.live_particles, 9);

  for (int i = 0; i < 10; ++i) {
    e.particles[i].x = 319.9f;
    e.particles[i].dx = 1.0f;
  }
  move_explosions();
  EXPECT_EQ(e.active, 0);
  EXPECT_EQ(active_explosions, 0);
}
