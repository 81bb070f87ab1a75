// A 320 x 240 picture turned and scaled about the screen's centre: the zooms
// and spins of the closing, the game over and the results screens.
#pragma once

#include <allegro.h>

// Drawn into back_buffer, turned by `angle` (the library's 256-step circle,
// 16.16 fixed point) and scaled by `scale`.
void draw_turned_picture(BITMAP *picture, fixed angle, float scale);

// The closing zoom, over whatever back_buffer holds: the picture turns by
// its scale in library units as it grows from 1 to about 6 (colour 0
// clear), 51 frames presented, each on black.
void zoom_picture_away(BITMAP *picture);
