// The player's keys during a game: friction and acceleration, firing, the
// ship's move, and the three special keys (Esc, P, F12). Losing the
// keyboard focus pauses as P does.
#include "frame/controls.h"

#include "combat/weapons.h"
#include "frame/game_state.h"
#include "platform/platform.h"
#include "world/records.h"


bool fire_key_held() {
  bool alt = platform_key(KEY_ALT), space = platform_key(KEY_SPACE);
  bool ctrl = platform_key(KEY_LCONTROL);
  return alt || space || ctrl;
}

namespace {

void apply_friction() {
  if (++player.friction_tick == 2) {
    player.velocity -= sign_of(player.velocity);
    player.friction_tick = 0;
  }
}

void accelerate() {
  if (platform_key(KEY_LEFT) && player.velocity > -player.max_speed) --player.velocity;
  if (platform_key(KEY_RIGHT) && player.velocity < player.max_speed) ++player.velocity;
}

// One press of the fire key asks for one volley; holding it does not repeat.
void fire_on_press() {
  if (fire_key_held() && fire_held == 0 && player.state != SHIP_EXPLODING) {
    fire_held = 1;
    fire_player_weapon();
  }
}

// REVERSE CONTROL makes the ship drift against its velocity.
void move_ship() {
  if (reverse_ticks == 0)
    player.x += player.velocity;
  else
    player.x -= player.velocity;
  if (player.x < 0) player.x = 0;
  if (player.x > 290) player.x = 290;
}

}  // namespace

void controls_step() {
  apply_friction();
  if (!fire_key_held()) fire_held = 0;
  if (platform_key(KEY_ESC)) level_end = LEVEL_GAME_OVER;
  if (platform_key(KEY_P) || platform_focus_lost()) pause_game();
  if (platform_key(KEY_F12)) save_screenshot();
  accelerate();
  fire_on_press();
  move_ship();
}
