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

// The options being edited, the selected row and the key latch; kept
// between visits of the options screen.
extern int option_marks[5];
extern int option_cursor;
extern int option_key_held;
