// Shared by the enemy art files: one painter per enemy kind.
#pragma once

#include "data/art/art.h"
#include "data/art/canvas.h"

#include <cmath>

constexpr float TWO_PI = 6.28318531f;

// Position of frame f in an n-frame cycle, -1..1.
inline float cycle_sin(int f, int n) { return std::sin(TWO_PI * float(f) / float(n)); }
inline float cycle_cos(int f, int n) { return std::cos(TWO_PI * float(f) / float(n)); }

Bitmap8 wasp_frame(int f, int n);         // kind 1, 15 x 16
Bitmap8 beetle_frame(int f, int n);       // kind 2, 22 x 24
Bitmap8 spore_mine_frame(int f, int n);   // kind 3, 16 x 16
Bitmap8 crab_frame(int f, int n);         // kind 4, 32 x 32
Bitmap8 jelly_frame(int f, int n);        // kind 5, 16 x 16
Bitmap8 moth_frame(int f, int n);         // kind 6, 22 x 18
Bitmap8 blade_frame(int f, int n);        // kind 7, 24 x 24
Bitmap8 mothership_frame(int f, int n);   // kind 8, 72 x 48
