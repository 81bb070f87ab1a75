// Draws one frame of play into back_buffer and presents it.
#pragma once

void draw_frame();
