// The title screen with its menu and the options screen.
#pragma once

// 0 start a game, 1 quit, 2 run the demo.
int show_title_screen();
