// One logic step of play. The order is behaviour: the end of the level is
// decided from what the previous tick left, and the collisions see every
// position after all movement of this tick.
#include "world/world_tick.h"

#include "combat/collisions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "platform/platform.h"
#include "render/starfield.h"
#include "world/enemies.h"
#include "world/explosion_motion.h"

namespace {

constexpr int SCROLL_TICKS = 7;         // ticks per row of background scroll
constexpr int EXPLODING_TICKS = 120;
constexpr int REAPPEARING_TICKS = 90;
constexpr int EXHAUST_FRAME_TICKS = 6;
constexpr int CAPSULE_SPIN_TICKS = 5;
constexpr int ROCK_REGROW_TICKS = 3;
constexpr int ENEMY_SHOT_FRAME_TICKS = 3;
constexpr int PLAYER_SHOT_FRAME_TICKS = 8;

// Both wait for the last explosion; a level won and lost together is won.
void decide_level_end() {
  if (player.lives <= 0 && active_explosions == 0) level_end = LEVEL_GAME_OVER;
  if (enemies_destroyed == enemy_count && active_explosions == 0) level_end = LEVEL_COMPLETE;
}

void scroll_background() {
  if (option_scroll == 1 && scroll_y > 0 && ++scroll_tick == SCROLL_TICKS) {
    scroll_tick = 0;
    --scroll_y;
  }
  if (scroll_y > 0 && option_stars == 1) step_stars();
}

// A ship that lost its last life stays exploding.
void run_ship_states() {
  if (player.lives <= 0) return;
  ++player.state_ticks;
  if (player.state == SHIP_EXPLODING) {
    if (player.state_ticks == EXPLODING_TICKS) {
      player.state = SHIP_REAPPEARING;
      player.state_ticks = 0;
      player.x = PICTURE_WIDTH / 2;  // its left edge on the middle column
    }
  } else if (player.state == SHIP_REAPPEARING && player.state_ticks == REAPPEARING_TICKS) {
    player.state = SHIP_ALIVE;
  }
  if (++player.exhaust_tick == EXHAUST_FRAME_TICKS) {
    player.exhaust_tick = 0;
    player.exhaust_frame = player.exhaust_frame != 0 ? 0 : 2;
  }
}

// Counts `timer` up; on reaching `period` restarts it and advances `frame`,
// which wraps at `frames`.
void animate(int &timer, int period, int &frame, int frames) {
  if (++timer != period) return;
  timer = 0;
  if (++frame == frames) frame = 0;
}

void move_capsules() {
  for (Capsule &c : capsules) {
    if (c.active != 1) continue;
    c.y += c.fall_speed;
    // Past row 232 it is below the ship (rows 214 to 229) and leaving the screen.
    if (c.y > 232) c.active = 0;
    animate(c.spin_timer, CAPSULE_SPIN_TICKS, c.spin, c.spin_steps);
  }
}

void regrow_rocks() {
  for (ShieldRock &k : shield_rocks) {
    if (k.state != ROCK_REGROWING) continue;
    if (++k.regrow_timer != ROCK_REGROW_TICKS) continue;
    k.regrow_timer = 0;
    if (--k.damage == 0) k.state = ROCK_STANDING;
  }
}

void move_enemy_shots() {
  for (EnemyShot &s : enemy_shots) {
    if (s.active != 1) continue;
    s.y += s.dy;
    s.x += s.dx;
    if (s.y > PICTURE_HEIGHT) s.active = 0;
    if (s.x > PICTURE_WIDTH || s.x < 0) s.active = 0;
    animate(s.frame_timer, ENEMY_SHOT_FRAME_TICKS, s.frame, s.frame_count);
  }
}

// Shots leaving at the sides fly on until they pass the top.
void move_player_shots() {
  for (PlayerShot &s : player_shots) {
    if (s.active != 1) continue;
    s.y -= s.speed;
    s.x += s.dx;
    if (s.y < 0) {
      s.active = 0;
      --player.shots_in_flight;
    }
    animate(s.frame_timer, PLAYER_SHOT_FRAME_TICKS, s.frame, s.frame_count);
  }
}

void move_exhaust() {
  for (int i = 0; i < MAX_EXHAUST; ++i) {
    ExhaustParticle &p = exhaust[i];
    if (p.active == 1) {
      p.x += p.dx;
      p.y += p.dy;
      --p.life;
    } else if (player.state == SHIP_ALIVE) {
      spawn_exhaust(i);
    }
    if (p.life == 0) p.active = 0;
  }
}

}  // namespace

// A speck under the middle of the 16 x 16 ship, just below it, drifting down.
void spawn_exhaust(int index) {
  ExhaustParticle &p = exhaust[index];
  p.active = 1;
  p.x = player.x + 7 + (random_number() & 3);
  p.y = player.y + 17 + (random_number() & 3);
  p.dx = random_number() % 3 - 1;
  p.dy = random_number() % 3 + 1;
  p.colour = 132;
  p.life = 4 + (random_number() & 3);
}

void world_tick() {
  if (reverse_ticks > 0) --reverse_ticks;
  decide_level_end();
  scroll_background();
  run_ship_states();
  update_enemies();
  move_capsules();
  regrow_rocks();
  move_enemy_shots();
  move_player_shots();
  move_explosions();
  resolve_collisions();
  move_exhaust();
}
