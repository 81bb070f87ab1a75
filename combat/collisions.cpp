// The collision pass of one tick, in eight phases of fixed order, with the
// score, the ship's losses and the shield rocks.
#include "combat/collisions.h"

#include "combat/bonuses.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"

#include <algorithm>

namespace {

constexpr int ROCK_BREAKS_AT = 5;

// Every record of play carries its box as x, y, width, height.
template <typename A, typename B>
bool touching(const A &a, const B &b) {
  return boxes_overlap(a.x, a.y, a.width, a.height, b.x, b.y, b.width, b.height) == 1;
}

void lose_player_shot(PlayerShot &s) {
  s.active = 0;
  --player.shots_in_flight;
}

// Called after each hit on a rock has shown its own burst.
void rock_falls_when_broken(ShieldRock &k) {
  if (k.damage != ROCK_BREAKS_AT) return;
  k.state = ROCK_ABSENT;
  // One burst at the left end of the 30-pixel rock, one just past its right.
  start_explosion(k.x + 36, k.y, 80, 2, 0);
  start_explosion(k.x, k.y, 80, 2, 0);
  play_effect(sound_object::ROCK_FALLS, 225, 1500);
}

void ship_destroyed() {
  --player.lives;
  player.state = SHIP_EXPLODING;
  player.state_ticks = 0;
  degrade_ship();
}

void destroy_enemy(int index, const PlayerShot &s) {
  Enemy &e = enemies[index];
  ++enemies_destroyed;
  add_score(10);
  e.active = 0;
  start_explosion(s.x, s.y, 90, e.kill_style, e.trail_style);
  play_effect(sound_object::ENEMY_DESTROYED, 225, 1000);
  if (e.kind == KIND_GIANT) {
    // The big one breaks up in four more bursts around the hit.
    start_explosion(s.x - 24, s.y, 70, 4, 0);
    start_explosion(s.x + 24, s.y, 70, 3, 0);
    start_explosion(s.x, s.y + 16, 70, 2, 0);
    start_explosion(s.x, s.y - 8, 70, 1, 0);
  }
  if (random_number() % 3 == 1) drop_capsule(index, 0);
}

void shot_hits_enemy(int index, PlayerShot &s) {
  Enemy &e = enemies[index];
  ++shots_hit;
  --e.hit_points;
  lose_player_shot(s);
  start_explosion(s.x, s.y, 10, e.hit_style, e.trail_style);
  add_score(5);
  if (e.kind == KIND_FLEER) {
    // Shoots back and turns away on every hit, the last one included.
    e.state = ENEMY_FLEEING;
    fire_enemy_shot(index);
  }
  if (e.hit_points > 0) play_effect(sound_object::ENEMY_HIT, 195, 1000);
  if (e.hit_points == 0) destroy_enemy(index, s);
}

void player_shots_against_enemies() {
  for (int i = 0; i < enemy_count; ++i) {
    if (enemies[i].active != 1) continue;
    for (PlayerShot &s : player_shots) {
      if (s.active == 1 && touching(s, enemies[i])) shot_hits_enemy(i, s);
      // A destroyed enemy lets the remaining shots fly on.
      if (enemies[i].active != 1) break;
    }
  }
}

void rocks_against_enemies() {
  for (ShieldRock &k : shield_rocks)
    for (int i = 0; i < enemy_count; ++i) {
      Enemy &e = enemies[i];
      if (k.state != ROCK_STANDING || e.active != 1 || !touching(k, e)) continue;
      add_score(15);
      if (e.kind != KIND_GIANT) {
        e.active = 0;
        ++enemies_destroyed;
        start_explosion(e.x - 16, e.y - 16, 60, 0, 0);
      }
      play_effect(sound_object::ENEMY_DESTROYED, 185, 1000);
      ++k.damage;
      rock_falls_when_broken(k);
    }
}

void rocks_against_enemy_shots() {
  for (ShieldRock &k : shield_rocks)
    for (EnemyShot &s : enemy_shots) {
      if (k.state != ROCK_STANDING || s.active != 1 || !touching(k, s)) continue;
      ++k.damage;
      start_explosion(s.x + 2, s.y, 10, 2, 0);
      play_effect(sound_object::ROCK_HIT, 185, 800);
      rock_falls_when_broken(k);
      s.active = 0;
    }
}

void enemy_shots_against_ship() {
  for (EnemyShot &s : enemy_shots) {
    if (player.state != SHIP_ALIVE || s.active != 1 || !touching(s, player)) continue;
    ship_destroyed();
    s.active = 0;
    reverse_ticks = 0;
    start_explosion(player.x, player.y + 8, 80, 0, 1);
    start_explosion(player.x - 16, player.y + 8, 80, 0, 0);
    start_explosion(player.x + 16, player.y + 8, 80, 0, 0);
    play_effect(sound_object::ROCK_FALLS, 225, 1000);
  }
}

void capsules_against_ship() {
  for (Capsule &q : capsules) {
    if (player.state != SHIP_ALIVE || q.active != 1 || !touching(q, player)) continue;
    q.active = 0;
    apply_bonus(q.kind);
    if (player.firepower < player.weapon) player.firepower = player.weapon;
  }
  // The single and double shots have their own ceilings.
  if (player.weapon == 1 && player.firepower > 4) player.firepower = 4;
  if (player.weapon == 2 && player.firepower > 8) player.firepower = 8;
}

void enemies_against_ship() {
  for (int i = 0; i < enemy_count; ++i) {
    Enemy &e = enemies[i];
    if (e.active != 1 || player.state != SHIP_ALIVE || !touching(e, player)) continue;
    ship_destroyed();
    start_explosion(player.x, player.y, 100, 0, 0);
    // The rammed enemy goes down with the ship, unscored and without a
    // capsule, so that the level can still be completed.
    e.active = 0;
    ++enemies_destroyed;
  }
}

void player_shots_against_enemy_shots() {
  if (option_shot_collisions != 1) return;
  for (PlayerShot &p : player_shots)
    for (EnemyShot &s : enemy_shots) {
      if (p.active != 1 || s.active != 1 || !touching(p, s)) continue;
      ++shots_hit;
      lose_player_shot(p);
      s.active = 0;
      start_explosion(p.x, p.y, 8, 0, 0);
      play_effect(sound_object::ROCK_HIT, 165, 2000);
    }
}

void player_shots_against_rocks() {
  for (ShieldRock &k : shield_rocks)
    for (PlayerShot &p : player_shots) {
      if (k.state != ROCK_STANDING || p.active != 1 || !touching(k, p)) continue;
      ++k.damage;
      start_explosion(p.x, p.y, 10, 2, 0);
      play_effect(sound_object::ROCK_HIT, 185, 1000);
      rock_falls_when_broken(k);
      lose_player_shot(p);
      break;
    }
}

}  // namespace

int boxes_overlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  bool across = std::max(x1, x2) < std::min(x1 + w1, x2 + w2);
  bool down = std::max(y1, y2) < std::min(y1 + h1, y2 + h2);
  return across && down ? 1 : 0;
}

void resolve_collisions() {
  player_shots_against_enemies();
  rocks_against_enemies();
  rocks_against_enemy_shots();
  enemy_shots_against_ship();
  capsules_against_ship();
  enemies_against_ship();
  player_shots_against_enemy_shots();
  player_shots_against_rocks();
}
