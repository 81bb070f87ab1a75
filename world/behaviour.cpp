// The rules of the eight enemy kinds, as a table: for each kind, how it flies
// in formation, how it dives and how it comes back to its slot. Kind 7 also
// flees upwards when hit. The rules are made of the building blocks of
// behaviour_steps, always applied in the same order.
#include "world/behaviour.h"

#include "combat/weapons.h"
#include "frame/game_state.h"
#include "world/behaviour_steps.h"
#include "world/records.h"

namespace {

constexpr int NO_CLAMP = -1;

struct FormationRule {
  SlotForm slot = SlotForm::ordinary;
  Dodge dodge = {};
  bool fixed_to_slot = false;  // sits exactly on the slot instead of moving
  bool clamp_x = true;
  int top = NO_CLAMP;
};

struct DiveRule {
  SlotForm slot = SlotForm::ordinary;
  bool homing = false;  // drifts towards the ship rather than at random
  Dodge dodge = {};
  bool clamp_x = true;
  int top = 1;
  int depth = 160;  // below this row it turns back
  Fire fire = {};
  bool rocks_turn_back = false;  // a standing rock sends it home at once
};

struct ReturnRule {
  SlotForm slot = SlotForm::ordinary;
  int climb = 1;  // vertical pixels a tick towards the slot
  Dodge dodge = {};
  bool clamp_x = false;
  int top = NO_CLAMP;
  Fire fire = {};
};

struct KindRules {
  FormationRule formation;
  DiveRule dive;
  ReturnRule back;
};

void drop_hostile_capsule(int index) { drop_capsule(index, 1); }

constexpr Dodge sidestep(int dx_per_threat) { return {.dx_per_threat = dx_per_threat}; }
constexpr Dodge sidestep_up(int dx_per_threat, int dy) {
  return {.dx_per_threat = dx_per_threat, .sets_dy = true, .dy = dy};
}
constexpr Fire shoots(int divisor) { return {divisor, fire_enemy_shot}; }
constexpr Fire drops_capsules(int divisor) { return {divisor, drop_hostile_capsule}; }

// Indexed by kind, 1 to 8.
const KindRules kind_rules[9] = {
    {},
    {  // 1: never dodges, never fires
     .formation = {.fixed_to_slot = true, .clamp_x = false},
     .dive = {.clamp_x = false, .top = NO_CLAMP},
     .back = {}},
    {  // 2
     .formation = {.dodge = sidestep(-1)},
     .dive = {.dodge = sidestep_up(-1, -1), .depth = 170},
     .back = {.fire = shoots(60)}},
    {  // 3
     .formation = {},
     .dive = {.dodge = sidestep_up(-1, -2), .depth = 170},
     .back = {.climb = 2, .fire = shoots(60)}},
    {  // 4
     .formation = {.slot = SlotForm::flat, .dodge = sidestep(-1)},
     .dive = {.slot = SlotForm::flat},
     .back = {.dodge = sidestep_up(-1, -1), .clamp_x = true, .top = 0}},
    {  // 5: the formation turns as one
     .formation = {.slot = SlotForm::group},
     .dive = {.homing = true, .depth = 180, .fire = shoots(120)},
     .back = {.climb = 2, .dodge = sidestep_up(-2, -2), .clamp_x = true, .fire = shoots(100)}},
    {  // 6: its slot settles; escapes upwards near the walls
     .formation = {.slot = SlotForm::settling,
                   .dodge = {.dx_per_threat = -2, .escapes_walls = true},
                   .top = 0},
     .dive = {.slot = SlotForm::settling,
              .dodge = sidestep_up(-1, -1),
              .top = NO_CLAMP,
              .rocks_turn_back = true},
     .back = {.dodge = sidestep_up(-1, -1), .top = 0, .fire = drops_capsules(180)}},
    {  // 7: turns at 304 as one formation; flees upwards when hit
     .formation = {.slot = SlotForm::narrow_group},
     .dive = {.slot = SlotForm::narrow, .homing = true, .depth = 180, .fire = shoots(120)},
     .back = {.slot = SlotForm::narrow,
              .climb = 2,
              .dodge = sidestep_up(-2, -2),
              .clamp_x = true,
              .fire = shoots(100)}},
    {  // 8
     .formation = {.slot = SlotForm::flat, .dodge = sidestep(-1)},
     .dive = {.slot = SlotForm::flat, .depth = 112},
     .back = {.dodge = sidestep_up(-1, -1), .top = 0, .fire = drops_capsules(180)}},
};

void clamp(Enemy &e, bool x, int top) {
  if (x) clamp_x(e);
  if (top != NO_CLAMP) clamp_top(e, top);
}

bool rock_standing() {
  for (const ShieldRock &k : shield_rocks)
    if (k.state == ROCK_STANDING) return true;
  return false;
}

void fly_in_formation(int index, const FormationRule &rule) {
  Enemy &e = enemies[index];
  slot_move(e, rule.slot);
  follow_slot(e);
  dodge(index, rule.dodge);
  if (rule.fixed_to_slot) {
    e.x = e.home_x;
    e.y = e.home_y;
  } else {
    move(e);
  }
  clamp(e, rule.clamp_x, rule.top);
}

void dive(int index, const DiveRule &rule) {
  Enemy &e = enemies[index];
  slot_move(e, rule.slot);
  e.dy = 2;
  if (rule.homing)
    homing_drift(e);
  else
    random_drift(e);
  dodge(index, rule.dodge);
  move(e);
  clamp(e, rule.clamp_x, rule.top);
  if (e.y > rule.depth) e.state = ENEMY_RETURNING;
  fire_check(index, rule.fire);
  if (rule.rocks_turn_back && rock_standing()) e.state = ENEMY_RETURNING;
}

void return_to_slot(int index, const ReturnRule &rule) {
  Enemy &e = enemies[index];
  slot_move(e, rule.slot);
  return_move(e, rule.climb);
  dodge(index, rule.dodge);
  move(e);
  clamp(e, rule.clamp_x, rule.top);
  home_check(e);
  fire_check(index, rule.fire);
}

// The fleeing kind after a hit: climbs towards its slot's column, then dives again.
void flee(int index) {
  Enemy &e = enemies[index];
  slot_move(e, SlotForm::narrow);
  e.dx = sign_of(e.home_x - e.x);
  e.dy = -3;
  dodge(index, sidestep(-2));
  move(e);
  clamp_x(e);
  if (e.y < 30) e.state = ENEMY_DIVING;
  fire_check(index, shoots(100));
}

}  // namespace

void enemy_behaviour(int index) {
  const Enemy &e = enemies[index];
  if (e.kind < KIND_STEADY || e.kind > KIND_GIANT) return;
  const KindRules &rules = kind_rules[e.kind];
  switch (e.state) {
    case ENEMY_IN_FORMATION: fly_in_formation(index, rules.formation); break;
    case ENEMY_DIVING: dive(index, rules.dive); break;
    case ENEMY_RETURNING: return_to_slot(index, rules.back); break;
    case ENEMY_FLEEING:
      if (e.kind == KIND_FLEER) flee(index);
      break;
    default: break;
  }
}
