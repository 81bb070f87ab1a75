// A 320 x 240 picture turned and scaled about the screen's centre: the zooms
// and spins of the closing, the game over and the results screens.
#pragma once

#include <allegro.h>

// Drawn into back_buffer, turned by `angle` (the library's 256-step circle,
// 16.16 fixed point) and scaled by `scale`.
void draw_turned_picture(BITMAP *picture, fixed angle, float scale);
