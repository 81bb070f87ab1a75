// How each enemy kind moves, dodges and attacks, one tick at a time.
#pragma once

void enemy_behaviour(int index);
// -1 or 1 when a player shot threatens the enemy from the left or the
// right box beside it (the last one found wins), else 0.
int shot_threat(int index);
// Whether the player is in the column under the enemy.
bool player_below(int index);
