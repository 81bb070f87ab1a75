// The bonus information screen of the attract cycle: the nine capsules with
// their names and the extra-life rule, over the depth stars.
#pragma once

#include <allegro.h>

void show_bonus_screen();
void draw_bonus_list(BITMAP *bitmap);
