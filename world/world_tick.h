// One logic step of play, in its fixed order, and the exhaust specks.
#pragma once

void world_tick();
void spawn_exhaust(int index);
