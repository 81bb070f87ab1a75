// Launching the player's volleys, enemy shots and bonus capsules.
#pragma once

struct Enemy;
struct EnemyShot;

void fire_player_weapon();
void fire_enemy_shot(int enemy);
void drop_capsule(int enemy, int hostile);
// Fills a shot that enemy e fires from row y: down at the enemy's shot speed
// from its centre column, aimed sideways at the ship for kinds 4 and 8.
void launch_enemy_shot(EnemyShot &s, const Enemy &e, int y);
