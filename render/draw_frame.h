// Draws one frame of play into back_buffer; the loop presents it.
#pragma once

void draw_frame();
