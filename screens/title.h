// The title screen with its menu, and the options screen it leads to.
#pragma once

#include <allegro.h>

// "title.dat", held while the title screen runs.
extern DATAFILE *title_data;

// 0 start a game, 1 quit, 2 run the demo.
int show_title_screen();
void show_options_screen();

// The options being edited, the selected row and the key latch; kept
// between visits of the options screen.
extern int option_marks[5];
extern int option_cursor;
extern int option_key_held;
