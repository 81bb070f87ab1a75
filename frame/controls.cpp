// Placeholder controls: Esc ends the game, the arrows steer.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "platform/platform.h"

int fire_held = 0;

int pause_game() { return 0; }
int save_screenshot() { return 0; }

void controls_step() {
  if (platform_key(KEY_ESC)) level_end = 1;
  if (platform_key(KEY_LEFT)) player.x -= 2;
  if (platform_key(KEY_RIGHT)) player.x += 2;
  if (player.x < 0) player.x = 0;
  if (player.x > 290) player.x = 290;
}
