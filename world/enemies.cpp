// Placeholder enemy update: the records exist, nothing moves yet.
#include "world/enemies.h"

std::array<Enemy, MAX_ENEMIES> enemies = {};
int enemy_count = 0;
std::array<EnemyShot, MAX_ENEMY_SHOTS> enemy_shots = {};
int enemies_destroyed = 0;
int shot_timer = 0;
int dive_timer = 0;
int freeze_ticks = 0;

void update_enemies() {}
void start_random_dive() {}
void fire_random_shot() {}
