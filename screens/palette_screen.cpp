#include "screens/palette_screen.h"

#include "frame/colour_tables.h"
#include "platform/platform.h"

void fade_into_palette(const RGB *palette) {
  platform_fade_out(16);
  platform_clear_screen();
  platform_fade_in(palette, 16);
  create_rgb_table(&rgb_table, palette, nullptr);
  rgb_map = &rgb_table;
  platform_set_palette(palette);
}
