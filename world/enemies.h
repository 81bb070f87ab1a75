// The per-tick enemy update with its attack timers, freeze count-down and
// extra lives. The enemy tables are in frame/game_state.h.
#pragma once

void update_enemies();
void start_random_dive();
void fire_random_shot();
