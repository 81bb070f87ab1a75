// Launching the player's volleys, enemy shots and bonus capsules.
#pragma once

#include <array>

struct PlayerShot {
  int x, y;
  int active;
  int frame_count;
  int frame;
  int frame_timer;
  int dx;
  int speed;
  int width, height;
};

struct Capsule {
  int x, y;
  int active;
  int spin_steps;
  int spin;
  int spin_timer;
  int fall_speed;
  int kind;  // level object of its sprite, 26 to 34: the bonus it carries
  int height, width;
};

constexpr int MAX_PLAYER_SHOTS = 12;
constexpr int MAX_CAPSULES = 4;

extern std::array<PlayerShot, MAX_PLAYER_SHOTS> player_shots;
extern std::array<Capsule, MAX_CAPSULES> capsules;

struct Enemy;
struct EnemyShot;

void fire_player_weapon();
void fire_enemy_shot(int enemy);
void drop_capsule(int enemy, int hostile);
// Fills a shot that enemy e fires from row y: down at the enemy's shot speed
// from its centre column, aimed sideways at the ship for kinds 4 and 8.
void launch_enemy_shot(EnemyShot &s, const Enemy &e, int y);
