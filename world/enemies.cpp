// The per-tick enemy update: extra lives, the random shot and dive timers,
// the freeze count-down, and the behaviour and animation of every enemy.
#include "world/enemies.h"

#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "world/behaviour.h"
#include "world/records.h"

namespace {

constexpr int EXTRA_LIFE_POINTS = 5000;
constexpr int PICK_TRIES = 10;
constexpr int ENEMY_FRAME_TICKS = 10;

// Up to ten draws, stopping at a live enemy; the last one drawn either way.
int pick_random_enemy() {
  int r = 0;
  for (int tries = 0; tries < PICK_TRIES; ++tries) {
    r = random_number() % enemy_count;
    if (enemies[r].active == 1) break;
  }
  return r;
}

void award_extra_life() {
  if (player.life_points < EXTRA_LIFE_POINTS) return;
  player.life_points = 0;
  play_effect(sound_object::EXTRA_LIFE, 225, 1000);
  ++player.lives;
}

// Fewer enemies left and later levels make both timers shorter.
int attack_delay(int spread) {
  return random_number() % spread - level - enemies_destroyed + enemy_count;
}

void run_shot_timer() {
  if (--shot_timer >= 0 || freeze_ticks != 0) return;
  shot_timer = attack_delay(18);
  fire_random_shot();
}

void run_dive_timer() {
  if (--dive_timer >= 0) return;
  dive_timer = attack_delay(36) + 40;
  start_random_dive();
}

// The last enemy standing fires on 4 ticks in 30 besides its timer.
void last_enemy_fires() {
  if (enemies_destroyed != enemy_count - 1) return;
  if (random_number() % 30 > 25) fire_random_shot();
}

void animate(Enemy &e) {
  if (++e.frame_timer == ENEMY_FRAME_TICKS) {
    e.frame_timer = 0;
    ++e.frame;
  }
  if (e.frame == e.frame_count) e.frame = 0;
}

}  // namespace

void update_enemies() {
  award_extra_life();
  run_shot_timer();
  run_dive_timer();
  last_enemy_fires();
  if (freeze_ticks > 0) --freeze_ticks;
  for (int i = 0; i < enemy_count; ++i) {
    if (enemies[i].active != 1) continue;
    if (freeze_ticks == 0) enemy_behaviour(i);
    animate(enemies[i]);
  }
}

void start_random_dive() {
  if (enemy_count < 1) return;
  Enemy &e = enemies[pick_random_enemy()];
  if (e.active == 1) e.state = ENEMY_DIVING;
}

void fire_random_shot() {
  int s = first_free(enemy_shots);
  if (s < 0 || enemy_count < 1) return;
  const Enemy &e = enemies[pick_random_enemy()];
  // The dropper drops capsules instead.
  if (e.active != 1 || e.kind == KIND_DROPPER) return;
  launch_enemy_shot(enemy_shots[s], e, e.y);
}
