// The reward after level twelve: eight pictures drifting and spinning over
// the depth stars, a title picture growing in the centre, a closing zoom.
#pragma once

#include "screens/screen_records.h"

#include <allegro.h>

extern DATAFILE *ending_data;

void show_ending();
void init_ending_sprites();
void draw_ending(BITMAP *bitmap);
void move_ending_sprites();
