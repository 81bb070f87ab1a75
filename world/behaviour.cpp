// Placeholder behaviour: enemies stand still.
#include "world/behaviour.h"

void enemy_behaviour(int) {}
int shot_threat(int) { return 0; }
bool player_below(int) { return false; }
