// Placeholder collisions: nothing meets anything yet.
#include "combat/collisions.h"

std::array<ShieldRock, MAX_SHIELD_ROCKS> shield_rocks = {};

int boxes_overlap(int, int, int, int, int, int, int, int) { return 0; }
void resolve_collisions() {}
void degrade_ship() {}
