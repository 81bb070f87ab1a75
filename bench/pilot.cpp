#include "bench/pilot.h"

#include "frame/game_state.h"
#include "platform/headless/headless_controls.h"
#include "world/enemies.h"

void pilot_keys() {
  static bool fire = false;
  int target = -1, lowest = -1000;
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    if (e.active == 1 && e.y > lowest) {
      lowest = e.y;
      target = e.x + e.width / 2 - 8;
    }
  }
  headless::hold(KEY_LEFT, target >= 0 && target < player.x - 2);
  headless::hold(KEY_RIGHT, target >= 0 && target > player.x + 2);
  fire = !fire;
  headless::hold(KEY_ALT, fire);
}
