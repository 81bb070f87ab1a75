// How each enemy kind moves, dodges and attacks, one tick at a time.
#pragma once

void enemy_behaviour(int index);
