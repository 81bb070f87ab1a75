// Launching: the spread volley and its sound, and capsules with the draws
// they make even when none is free. (Aimed enemy shots and refused volleys
// are pinned by the replays.)
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
