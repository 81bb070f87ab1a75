// The player's keys during a game, the pause and the screenshot.
#pragma once

extern int fire_held;

void controls_step();
int pause_game();
int save_screenshot();
