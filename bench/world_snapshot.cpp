#include "bench/world_snapshot.h"

void WorldSnapshot::save() {
#define SAVE_PLAY_STATE(type, name, start) this->name = ::name;
  PLAY_STATE(SAVE_PLAY_STATE)
#undef SAVE_PLAY_STATE
}

void WorldSnapshot::restore() const {
#define RESTORE_PLAY_STATE(type, name, start) ::name = this->name;
  PLAY_STATE(RESTORE_PLAY_STATE)
#undef RESTORE_PLAY_STATE
}
