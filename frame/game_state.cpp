#include "frame/game_state.h"

#include "frame/catalogue.h"
#include "platform/shared/datafile_object.h"

#define DEFINE_PLAY_STATE(type, name, start) type name = start;
PLAY_STATE(DEFINE_PLAY_STATE)
#undef DEFINE_PLAY_STATE

DATAFILE *level_data = nullptr;

void reset_play_state() {
#define RESET_PLAY_STATE(type, name, start) name = start;
  PLAY_STATE(RESET_PLAY_STATE)
#undef RESET_PLAY_STATE
}

const RGB *level_palette() {
  const DATAFILE *palette = datafile_object(level_data, level_object::PALETTE, DAT_PALETTE);
  return palette ? static_cast<const RGB *>(palette->dat) : desktop_palette;
}
