#include "bench/scenes.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "world/enemies.h"
#include "world/enemy_kinds.h"
#include "world/explosion_motion.h"
#include "world/world_tick.h"

namespace {

// Ten columns of slots, every second one, over four rows: the two kinds of
// the first group alternating by row.
void fill_formation() {
  for (int i = 0; i < MAX_ENEMIES; ++i)
    place_enemy(enemies[i], i / 10 % 2 == 0 ? KIND_STEADY : KIND_DODGER, 1 + 2 * (i % 10), 2 + i / 10 * 2);
  enemy_count = MAX_ENEMIES;
  enemies_destroyed = 0;
}

// Between the formation and the rocks, flying up, none near an enemy.
void fill_player_shots() {
  for (int i = 0; i < MAX_PLAYER_SHOTS; ++i)
    player_shots[i] = PlayerShot{12 + 25 * i, 150, 1, 2, i % 2, 0, 0, 4, 7, 7};
  player.shots_in_flight = MAX_PLAYER_SHOTS;
}

// Falling well clear of the ship and the rocks.
void fill_enemy_shots() {
  for (int i = 0; i < MAX_ENEMY_SHOTS; ++i) {
    EnemyShot &s = enemy_shots[i];
    s.x = 20 + 38 * i;
    s.y = 110;
    s.active = 1;
    s.frame_count = 2;
    s.frame = i % 2;
    s.frame_timer = 0;
    s.dx = i % 3 - 1;
    s.dy = 2;
  }
}

void fill_capsules() {
  for (int i = 0; i < MAX_CAPSULES; ++i)
    capsules[i] = Capsule{30 + 80 * i, 95, 1, 16, 3 * i, 0, 1, capsule_kind::SPEED_INCREASE + i,
                          12, 12};
}

void fill_rocks() {
  for (ShieldRock &r : shield_rocks) {
    r.state = ROCK_STANDING;
    r.damage = 1;
  }
}

void fill_exhaust() {
  for (int i = 0; i < MAX_EXHAUST; ++i) spawn_exhaust(i);
}

// A 10 x 10 grid over the whole screen, the five ramps in turn.
void fill_explosions(int trail_style) {
  for (Explosion &e : explosions) e.active = 0;
  active_explosions = 0;
  for (int i = 0; i < MAX_EXPLOSIONS; ++i)
    add_explosion(16 + 32 * (i % 10), 12 + 24 * (i / 10), i % 5, trail_style);
  move_explosions_for(8);
}

}  // namespace

void start_level_one() {
  reset_game();
  level = 1;
  level_start(1);
  player.state = SHIP_ALIVE;
  player.state_ticks = 0;
}

void fill_worst_case(int trail_style) {
  fill_formation();
  fill_player_shots();
  fill_enemy_shots();
  fill_capsules();
  fill_rocks();
  fill_exhaust();
  fill_explosions(trail_style);
  option_glow = option_stars = option_scroll = 1;
}

void add_explosion(int x, int y, int ramp, int trail_style) {
  start_explosion(x, y, MAX_PARTICLES, ramp, trail_style);
}

void move_explosions_for(int ticks) {
  for (int t = 0; t < ticks; ++t) move_explosions();
}
