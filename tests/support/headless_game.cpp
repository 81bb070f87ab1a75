#include "tests/support/headless_game.h"

#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/program_services.h"

void make_frame_bitmaps() {
  if (!back_buffer) back_buffer = create_bitmap(320, 240);
  if (!glow_layer) glow_layer = create_bitmap(320, 240);
  clear(back_buffer);
  clear(glow_layer);
}

void install_level_one() {
  make_frame_bitmaps();
  level = 1;
  load_level_data();
  compute_shade_colours();
}

std::string pixel_difference(BITMAP *a, BITMAP *b) {
  std::string first;
  int count = 0;
  for (int y = 0; y < a->h; ++y)
    for (int x = 0; x < a->w; ++x)
      if (getpixel(a, x, y) != getpixel(b, x, y) && count++ == 0)
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(getpixel(a, x, y)) +
                " against " + std::to_string(getpixel(b, x, y));
  return count ? std::to_string(count) + " pixels differ, first at " + first : "";
}

