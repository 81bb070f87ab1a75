// The demo's pilot: random runs left and right, bouncing off the edges, and
// a request to fire on every tick.
#include "combat/weapons.h"
#include "frame/autopilot.h"
#include "frame/game_state.h"
#include "frame/random.h"
#include "platform/platform.h"

void autopilot_step() {
  if (demo_steer < 0) {
    ++demo_steer;
    player.x -= player.max_speed;
  } else if (demo_steer > 0) {
    --demo_steer;
    player.x += player.max_speed;
  }
  if (demo_steer == 0) demo_steer = random_number() % 50 - 25;
  if (player.x < 0) {
    player.x = 0;
    demo_steer = 2;
  } else if (player.x > 290) {
    player.x = 290;
    demo_steer = -2;
  }
  if (platform_keypressed()) level_end = LEVEL_GAME_OVER;
  if (player.state != SHIP_EXPLODING) fire_player_weapon();
}
