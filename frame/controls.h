// The player's keys during a game, the pause and the screenshot.
#pragma once

// The fire key: Alt, Space or Left Ctrl, wherever Alt fires or selects.
bool fire_key_held();

void controls_step();
int pause_game();
int save_screenshot();
