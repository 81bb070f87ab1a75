#include "render/turned_picture.h"

#include "frame/program_services.h"
#include "platform/platform.h"

void draw_turned_picture(BITMAP *picture, fixed angle, float scale) {
  int x = static_cast<int>((PICTURE_WIDTH - PICTURE_WIDTH * scale) * 0.5);
  int y = static_cast<int>((PICTURE_HEIGHT - PICTURE_HEIGHT * scale) * 0.5);
  rotate_scaled_sprite(back_buffer, picture, x, y, angle, ftofix(scale));
}

void zoom_picture_away(BITMAP *picture) {
  float s = 1.0f;
  double sum;
  do {
    // The angle grows with the scale: s library units at scale s.
    draw_turned_picture(picture, ftofix(s), s);
    present_frame();
    clear(back_buffer);
    sum = static_cast<double>(s) + 0.1;
    s = static_cast<float>(sum);
  } while (sum < 6.0);
}
