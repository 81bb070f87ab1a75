// Launching what flies: the ship's volleys, aimed enemy shots and the bonus
// capsules of destroyed enemies.
#include "combat/weapons.h"

#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "world/records.h"

namespace {

struct VolleyShot {
  int offset_x;  // from the ship's left edge
  int dx;
};

struct Volley {
  int shots;
  int base_frequency;  // the single shot sounds highest
  VolleyShot shot[3];
};

// Indexed by weapon, 1 to 3.
constexpr Volley volleys[4] = {
    {0, 0, {}},
    {1, 1200, {{7, 0}}},
    {2, 1000, {{3, 0}, {11, 0}}},
    {3, 800, {{3, -1}, {11, 1}, {7, 0}}},
};

constexpr int SHOT_ABOVE_SHIP = 4;
constexpr int PLAYER_SHOT_SPEED = 4;

// Bonus carried by a capsule, by a random number modulo 10.
constexpr int capsule_kinds[10] = {
    capsule_kind::ROCK_SHIELD,     capsule_kind::FIREPOWER,   capsule_kind::WEAPON,
    capsule_kind::TIME_FREEZE,     capsule_kind::SCORE_BONUS, capsule_kind::BIG_SCORE_BONUS,
    capsule_kind::REVERSE_CONTROL, capsule_kind::SHIP_DEGRADER,
    capsule_kind::REVERSE_CONTROL, capsule_kind::SPEED_INCREASE,
};

// The lowest free records, in index order; false when fewer than n are free.
bool find_free_shots(int n, int (&found)[3]) {
  int taken = 0;
  for (int i = 0; i < MAX_PLAYER_SHOTS && taken < n; ++i)
    if (player_shots[i].active == 0) found[taken++] = i;
  return taken == n;
}

}  // namespace

void fire_player_weapon() {
  if (player.weapon < 1 || player.weapon > 3) return;
  const Volley &volley = volleys[player.weapon];
  int found[3];
  if (player.shots_in_flight + volley.shots > player.firepower) return;
  if (!find_free_shots(volley.shots, found)) return;
  for (int i = 0; i < volley.shots; ++i) {
    PlayerShot &s = player_shots[found[i]];
    s.active = 1;
    s.x = player.x + volley.shot[i].offset_x;
    s.y = player.y - SHOT_ABOVE_SHIP;
    s.dx = volley.shot[i].dx;
    s.frame_count = 2;
    s.frame = 0;
    s.speed = PLAYER_SHOT_SPEED;
  }
  player.shots_in_flight += volley.shots;
  shots_fired += volley.shots;
  int shift = random_number() % 3;
  play_effect(sound_object::VOLLEY, 200, volley.base_frequency + shift);
}

void launch_enemy_shot(EnemyShot &s, const Enemy &e, int y) {
  s.active = 1;
  s.dy = e.shot_speed;
  s.x = e.x + e.width / 2;
  s.y = y;
  s.frame_count = 2;
  s.frame = 0;
  s.frame_timer = 0;
  s.dx = 0;
  // These two kinds drift towards where the ship is now.
  if (e.kind == KIND_AIMER || e.kind == KIND_GIANT) s.dx = sign_of(player.x - s.x);
}

void fire_enemy_shot(int enemy) {
  const Enemy &e = enemies[enemy];
  if (e.active == 0) return;
  int s = first_free(enemy_shots);
  if (s < 0) return;
  launch_enemy_shot(enemy_shots[s], e, e.y + e.height / 2);
}

void drop_capsule(int enemy, int hostile) {
  int r = random_number();
  int q = first_free(capsules);
  if (q < 0) return;
  play_effect(sound_object::CAPSULE_RELEASED, 225, 1000);
  Capsule &c = capsules[q];
  const Enemy &e = enemies[enemy];
  c.active = 1;
  c.spin = 0;
  c.spin_steps = 16;
  c.spin_timer = 0;
  c.x = e.x;
  c.y = e.y;
  c.fall_speed = 2;
  c.height = 12;
  c.width = 12;
  c.kind = capsule_kinds[r % 10];
  // A hostile one: four in ten degrade the ship, the others reverse the controls.
  if (hostile == 1)
    c.kind = random_number() % 10 > 5 ? capsule_kind::SHIP_DEGRADER : capsule_kind::REVERSE_CONTROL;
}
