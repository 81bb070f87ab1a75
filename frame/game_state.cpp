#include "frame/game_state.h"

#include "frame/catalogue.h"
#include "platform/datafile_object.h"

Player player = {};

int level = 1;
DATAFILE *level_data = nullptr;
LevelEnd level_end = LEVEL_PLAYING;
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
  const DATAFILE *palette = datafile_object(level_data, level_object::PALETTE, DAT_PALETTE);
  return palette ? static_cast<const RGB *>(palette->dat) : desktop_palette;
}
