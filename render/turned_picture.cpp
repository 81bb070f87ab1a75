#include "render/turned_picture.h"

#include "frame/program_services.h"

void draw_turned_picture(BITMAP *picture, fixed angle, float scale) {
  int x = static_cast<int>((320 - 320 * scale) * 0.5);
  int y = static_cast<int>((240 - 240 * scale) * 0.5);
  rotate_scaled_sprite(back_buffer, picture, x, y, angle, ftofix(scale));
}
