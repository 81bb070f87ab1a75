#include "frame/game_state.h"

Player player = {};

int level = 1;
DATAFILE *level_data = nullptr;
int level_end = LEVEL_PLAYING;
int shots_fired = 0;
int shots_hit = 0;
int total_shots_fired = 0;
int total_shots_hit = 0;
int reverse_ticks = 0;
int scroll_y = 0;
int scroll_tick = 0;
std::array<float, 200> direction_table = {};
int demo_steer = 0;

const RGB *level_palette() {
  if (!level_data) return desktop_palette;
  for (int i = 0; i <= 78; ++i)
    if (level_data[i].type == DAT_END) return desktop_palette;
  if (level_data[78].type != DAT_PALETTE) return desktop_palette;
  return static_cast<const RGB *>(level_data[78].dat);
}
