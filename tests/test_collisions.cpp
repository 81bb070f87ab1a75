// The collision pass where the recorded games do not go: rocks against
// enemies and against several shots, the ship shot while reversed, an enemy
// rammed, the firepower caps and pickups. (The overlap rule, hits, kills and
// their capsules, shots against shots and the floors a degraded ship stops
// at are pinned by the replays.)
#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "tests/support/world_test.h"
#include "world/enemies.h"

#include <tuple>

class CollisionsTest : public WorldTest {
 protected:
  void pick_up(int kind) {
    capsules[0] = Capsule{player.x, player.y, 1, 16, 0, 0, 2, kind, 12, 12};
    resolve_collisions();
  }
};

TEST_F(CollisionsTest, AKind8ResistsARockAndBreaksItInFiveTicksOthersFallWithoutACapsule) {
  ShieldRock &k = shield_rocks[1];  // (146, 180)
  k.state = ROCK_STANDING;
  int big = add_enemy(KIND_GIANT, 10, 9);  // (120, 134): its bottom reaches row 181
  for (int tick = 0; tick < 5; ++tick) resolve_collisions();
  EXPECT_EQ(std::tuple(enemies[big].active, player.score, k.state), std::tuple(1, 75, 0));
  std::vector<Sound> want(5, Sound{0, 185, 1000});
  want.push_back({1, 225, 1500});
  EXPECT_EQ(sounds(), want);

  k.state = ROCK_STANDING;
  enemies[big].active = 0;
  add_enemy(KIND_STEADY, 13, 12);  // (156, 182)
  draws();
  resolve_collisions();
  EXPECT_EQ(std::tuple(enemies_destroyed, draws()), std::tuple(1, 400u));  // its explosion, and no capsule
}

TEST_F(CollisionsTest, RocksStopEnemyShotsAndOnePlayerShotATick) {
  shield_rocks[0].state = ROCK_STANDING;  // (50, 180)
  int s = put_enemy_shot(60, 190);
  put_player_shot(55, 185);
  put_player_shot(65, 185);
  resolve_collisions();
  EXPECT_EQ(std::tuple(enemy_shots[s].active, player_shots[1].active, shots_hit), std::tuple(0, 1, 0));
  EXPECT_EQ(sounds(), (std::vector<Sound>{{2, 185, 800}, {2, 185, 1000}}));
}

TEST_F(CollisionsTest, AShotShipLosesALifeOnceAndItsReverseControlAndIsDegraded) {
  player.max_speed = 5;
  player.weapon = 2;
  player.firepower = 6;
  reverse_ticks = 300;
  put_enemy_shot(165, 220);
  put_enemy_shot(168, 220);
  resolve_collisions();
  // Firepower 5, then capped for the single shot.
  EXPECT_EQ(std::tuple(player.lives, reverse_ticks, player.max_speed, player.firepower), std::tuple(2, 0, 4, 4));
  EXPECT_EQ(sounds(), (std::vector<Sound>{{1, 225, 1000}}));
}

TEST_F(CollisionsTest, ARammedEnemyGoesDownUnscoredAndTheShipKeepsReversing) {
  reverse_ticks = 300;
  int e = add_enemy(KIND_DODGER, 13, 13);  // (156, 198) over the ship
  resolve_collisions();
  EXPECT_EQ(std::tuple(player.lives, enemies[e].active, enemies_destroyed, player.score, reverse_ticks, draws()),
            std::tuple(2, 0, 1, 0, 300, 400u));
  EXPECT_TRUE(sounds().empty());
}

TEST_F(CollisionsTest, FirepowerIsCappedByWeaponAfterThePickups) {
  const struct {
    int weapon, firepower, kind, want_weapon, want_firepower;
  } cases[] = {
      {1, 4, 28, 1, 4},    {2, 8, 28, 2, 8},    {3, 12, 28, 3, 12},  // FIREPOWER at each ceiling
      {2, 3, 29, 3, 4},    {3, 10, 29, 3, 10},                       // WEAPON, and 10 for the spread
      {2, 1, 31, 2, 2},                                              // SCORE BONUS: raised to the weapon
  };
  for (auto c : cases) {
    player.weapon = c.weapon;
    player.firepower = c.firepower;
    pick_up(c.kind);
    EXPECT_EQ(std::pair(player.weapon, player.firepower), std::pair(c.want_weapon, c.want_firepower)) << c.kind;
  }
}

TEST_F(CollisionsTest, ARockShieldKnocksStandingRocksBackToRegrowingAndOnlyALiveShipPicksUp) {
  shield_rocks[2].state = ROCK_STANDING;
  pick_up(27);
  EXPECT_EQ(std::pair(shield_rocks[2].state, shield_rocks[2].damage), std::pair(ROCK_REGROWING, 4));
  EXPECT_EQ(sounds(), (std::vector<Sound>{{17, 225, 1000}}));
  player.state = SHIP_REAPPEARING;  // reappearing: no pickups
  pick_up(31);
  EXPECT_EQ(capsules[0].active, 1);
}
