// Thirty single-pixel stars falling in four depth layers behind the play.
#pragma once

#include "render/star_records.h"

#include <allegro.h>

void init_stars();
void step_stars();
void draw_stars(BITMAP *bitmap);
