// What the leak and fault sessions do at the game's waits: keys held for a
// number of waits each, the routes from a fresh title (its first item
// selected), a key for the screens that wait for one, and a level cleared
// at once.
#pragma once

#include "frame/game_state.h"
#include "frame/program.h"
#include "tests/support/headless_controls.h"
#include "world/enemies.h"

#include <vector>

struct KeyStep {
  int key, waits;  // key 0: none
};
using Steps = std::vector<KeyStep>;

// The key of a wait counted from the first; none after the last step.
inline int key_at(const Steps &steps, long wait) {
  for (const KeyStep &s : steps)
    if ((wait -= s.waits) < 0) return s.key;
  return 0;
}

inline const Steps no_keys = {};
inline const Steps start_steps = {{0, 5}, {KEY_ALT, 3}};
inline const Steps options_steps = {{0, 5}, {KEY_DOWN, 3}, {0, 3}, {KEY_ALT, 3}};
inline const Steps quit_steps = {{0, 5}, {KEY_DOWN, 3}, {0, 3}, {KEY_DOWN, 3}, {0, 3}, {KEY_ALT, 3}};

// Space for the screens that wait for a key: at once in readkey, else every
// 60 waits.
inline void press_for_waiting_screens(const headless::Event &e, long &last_press) {
  if (e.kind != headless::Wait::ReadKey && e.count - last_press < 60) return;
  last_press = e.count;
  headless::press(KEY_SPACE, ' ');
}

// Every enemy gone, as if the last had just been shot.
inline void clear_formation() {
  for (Enemy &enemy : enemies) enemy.active = 0;
  enemies_destroyed = enemy_count;
}

// Runs game_main with every key released before each wait's `step`; its
// status, or -1 when it ran past the limit of waits.
template <typename Session>
int run_session(Session &session, long wait_limit) {
  headless::set_event_limit(wait_limit);
  headless::set_hook([&](const headless::Event &e) {
    headless::release_all();
    session.step(e);
  });
  int status = -1;
  try {
    status = game_main();
  } catch (const headless::Timeout &) {
  }
  headless::set_hook(nullptr);
  return status;
}
