// A copy of the whole state of play (frame/game_state.h's list), so that a
// benchmark can put the same world back before every timed tick.
#pragma once

#include "frame/game_state.h"

#include <atomic>

// What one global of the list is kept as: itself, or the number an atomic
// counter holds.
template <typename T>
struct Kept {
  using type = T;
};
template <typename T>
struct Kept<std::atomic<T>> {
  using type = T;
};

struct WorldSnapshot {
#define KEEP_PLAY_STATE(T, name, start) Kept<T>::type name;
  PLAY_STATE(KEEP_PLAY_STATE)
#undef KEEP_PLAY_STATE

  void save();
  void restore() const;
};
