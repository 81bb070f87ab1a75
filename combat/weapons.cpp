// Placeholder weapons: nothing flies yet.
#include "combat/weapons.h"

std::array<PlayerShot, MAX_PLAYER_SHOTS> player_shots = {};
std::array<Capsule, MAX_CAPSULES> capsules = {};

void fire_player_weapon() {}
void fire_enemy_shot(int) {}
void drop_capsule(int, int) {}
