// Launching: volleys under their limits, aimed enemy shots, capsules.
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "tests/support/world_test.h"
#include "world/enemies.h"

class WeaponsTest : public WorldTest {};

TEST_F(WeaponsTest, VolleysTakeTheLowestFreeRecordsAndSoundBySize) {
  player.x = 100;
  fire_player_weapon();
  EXPECT_EQ(player_shots[0].y, 210);
  // The first number, 41, shifts the single shot's 1200 by 41 % 3.
  EXPECT_EQ(sounds(), (std::vector<Sound>{{19, 200, 1202}}));

  player.weapon = 3;
  player.firepower = 10;
  put_player_shot(0, 100);  // record 1; record 0 is the single shot
  put_player_shot(0, 100);  // record 2
  player_shots[1].active = 0;
  --player.shots_in_flight;
  fire_player_weapon();
  const int expect_record[3] = {1, 3, 4}, expect_x[3] = {103, 111, 107}, expect_dx[3] = {-1, 1, 0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(player_shots[expect_record[i]].x, expect_x[i]) << i;
    EXPECT_EQ(player_shots[expect_record[i]].dx, expect_dx[i]) << i;
  }
  EXPECT_EQ(shots_fired, 4);
  EXPECT_EQ(sounds().back(), (Sound{19, 200, 800 + 18467 % 3}));
}

TEST_F(WeaponsTest, ARefusedVolleyChangesNothingAndDrawsNothing) {
  player.weapon = 2;
  player.firepower = 3;
  fire_player_weapon();
  draws();
  fire_player_weapon();  // 2 + 2 > 3, though ten records are free
  player.weapon = 1;
  player.firepower = 12;
  while (player.shots_in_flight < 12) put_player_shot(0, 100);
  fire_player_weapon();
  EXPECT_EQ(draws(), 0u);
  EXPECT_EQ(shots_fired, 2);
  EXPECT_EQ(sounds().size(), 1u);
}

TEST_F(WeaponsTest, EnemyShotsLeaveTheCentreAndKinds4And8AimAtTheShip) {
  int plain = add_enemy(1, 2, 2);  // (24, 22), 15 x 16
  fire_enemy_shot(plain);
  EXPECT_EQ(enemy_shots[0].x, 31);
  EXPECT_EQ(enemy_shots[0].y, 30);

  int aiming = add_enemy(4, 12, 2);  // x 144, 32 wide: centre at the ship's 160
  fire_enemy_shot(aiming);
  EXPECT_EQ(enemy_shots[1].dx, 0);
  player.x = 100;
  fire_enemy_shot(aiming);
  EXPECT_EQ(enemy_shots[2].dx, -1);
  EXPECT_EQ(draws(), 0u);
}

TEST_F(WeaponsTest, CapsulesDrawFirstAndHostileOnesDrawAgain) {
  int e = add_enemy(2, 5, 3);
  drop_capsule(e, 0);  // 41 % 10 = 1
  EXPECT_EQ(draws(), 1u);
  EXPECT_EQ(capsules[0].kind, 28);
  drop_capsule(e, 1);  // 18467 picks 34 first; 6334 % 10 = 4 makes it 33
  EXPECT_EQ(draws(), 2u);
  EXPECT_EQ(capsules[1].kind, 33);
  EXPECT_EQ(sounds(), (std::vector<Sound>{{5, 225, 1000}, {5, 225, 1000}}));

  capsules[2].active = capsules[3].active = 1;
  drop_capsule(e, 1);
  EXPECT_EQ(draws(), 1u);
  EXPECT_EQ(sounds().size(), 2u);
}
