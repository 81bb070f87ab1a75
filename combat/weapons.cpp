// Placeholder weapons: nothing flies yet.
#include "combat/weapons.h"

void fire_player_weapon() {}
