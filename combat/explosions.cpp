// Placeholder explosions: none start yet.
#include "combat/explosions.h"

std::array<Explosion, MAX_EXPLOSIONS> explosions = {};
int active_explosions = 0;
int direction_cursor = 0;

void start_explosion(int, int, int, int, int) {}
void init_explosion(int, int, int, int, int, int) {}
