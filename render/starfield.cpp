// Placeholder starfield: no stars yet.
#include "render/starfield.h"

std::array<Star, star_count> stars = {};

void init_stars() {}
void step_stars() {}
void draw_stars(BITMAP *) {}
