// The way into a screen with a palette of its own: fade the last one out,
// fade this one in, and look colours up in it from now on.
#pragma once

#include <allegro.h>

void fade_into_palette(const RGB *palette);
