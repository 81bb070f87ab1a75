// What each capsule does when the ship catches it, and the sample it plays.
#include "combat/bonuses.h"

#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program_services.h"

namespace {

void speed_increase() {
  if (player.max_speed < 7) ++player.max_speed;
}

// Knocks every rock, standing or not, back to regrowing from four hits.
void rock_shield() {
  for (ShieldRock &k : shield_rocks) {
    k.state = ROCK_REGROWING;
    k.regrow_timer = 0;
    k.damage = 4;
  }
}

void firepower() {
  if (player.firepower < 12) ++player.firepower;
}

void weapon() {
  if (player.weapon < 3) ++player.weapon;
  if (player.weapon == 3 && player.firepower < 10) ++player.firepower;
}

void time_freeze() { freeze_ticks = 250; }
void score_bonus() { add_score(150); }
void big_score_bonus() { add_score(350); }
void reverse_control() { reverse_ticks = 800; }

struct Bonus {
  int sample;
  void (*effect)();
};

// Indexed by capsule kind - capsule_kind::SPEED_INCREASE.
constexpr Bonus bonuses[9] = {
    {sound_object::SPEED_INCREASE, speed_increase},
    {sound_object::ROCK_SHIELD, rock_shield},
    {sound_object::FIREPOWER, firepower},
    {sound_object::WEAPON, weapon},
    {sound_object::TIME_FREEZE, time_freeze},
    {sound_object::SCORE_BONUS, score_bonus},
    {sound_object::BIG_SCORE_BONUS, big_score_bonus},
    {sound_object::REVERSE_CONTROL, reverse_control},
    {sound_object::SHIP_DEGRADER, degrade_ship},
};

}  // namespace

void apply_bonus(int kind) {
  int i = kind - capsule_kind::SPEED_INCREASE;
  if (i < 0 || i >= 9) return;
  play_effect(bonuses[i].sample, 225, 1000);
  bonuses[i].effect();
}

void add_score(int points) {
  player.score += points;
  player.life_points += points;
}

void degrade_ship() {
  if (player.max_speed > 3) --player.max_speed;
  if (player.weapon > 1) --player.weapon;
  if (player.firepower > 2) --player.firepower;
}
