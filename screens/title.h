// The title screen with its menu, and the options screen it leads to.
#pragma once

#include <allegro.h>

// "title.dat", held while the title screen runs.
extern DATAFILE *title_data;

// What the title screen returns.
enum TitleChoice { TITLE_START_GAME = 0, TITLE_QUIT = 1, TITLE_DEMO = 2 };

// The player's choice, a TitleChoice.
int show_title_screen();
void show_options_screen();
