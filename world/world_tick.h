// One logic step of play, in its fixed order, and the exhaust specks.
#pragma once

void world_tick();
void spawn_exhaust(int index);
// One step of every active explosion's particles.
void move_explosions();
