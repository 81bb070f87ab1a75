#include "world/behaviour_steps.h"

#include "combat/collisions.h"
#include "combat/weapons.h"
#include "frame/game_state.h"
#include "frame/random.h"
#include "platform/platform.h"
#include "world/records.h"

namespace {

// The narrow forms turn their slot where a 16-pixel-wide enemy's slot would
// turn, whatever the enemy's own width. A wider enemy's slot so runs on past
// its ordinary bound, and clamp_x keeps the enemy itself on the screen.
constexpr int NARROW_BOUND = PICTURE_WIDTH - 16;

// A shot's threat boxes: two enemy widths wide and three heights tall,
// hanging from the enemy's top row, so that a climbing shot enters one two
// heights below the enemy.
constexpr int THREAT_WIDTHS = 2, THREAT_HEIGHTS = 3;

// fire_check's draw, modulo the divisor, fires when it and the level add up
// to more than this: at level L the draws 0 to 15 - L hold fire, 15 of them
// at level 1 and one fewer each level after.
constexpr int FIRE_THRESHOLD = 15;

// What the slot's bob does at the sway bound.
enum class Bob { reverses, settles, none };

struct SlotRule {
  Bob bob;
  bool group;
  bool narrow;
};

// Indexed by SlotForm.
constexpr SlotRule slot_rules[] = {
    {Bob::reverses, false, false},  // ordinary
    {Bob::settles, false, false},   // settling
    {Bob::reverses, false, true},   // narrow
    {Bob::none, false, false},      // flat
    {Bob::reverses, true, false},   // group
    {Bob::reverses, true, true},    // narrow_group
};

void turn_formation(int home_dx) {
  for (int i = 0; i < enemy_count; ++i) enemies[i].home_dx = home_dx;
}

// Whether the shot is in the enemy's threat box that starts at column x.
bool threatened_by(const PlayerShot &s, int x, const Enemy &e) {
  return boxes_overlap(s.x, s.y, s.width, s.height, x, e.y, THREAT_WIDTHS * e.width,
                       THREAT_HEIGHTS * e.height) == 1;
}

}  // namespace

void slot_move(Enemy &e, SlotForm form) {
  const SlotRule &rule = slot_rules[static_cast<int>(form)];
  bool past_bound = e.sway < -e.sway_limit || e.sway > e.sway_limit;
  if (rule.bob == Bob::none || (past_bound && rule.bob == Bob::settles)) e.home_dy = 0;
  if (past_bound && rule.bob == Bob::reverses) e.home_dy = -e.home_dy;
  int right = rule.narrow ? NARROW_BOUND : PICTURE_WIDTH - e.width;
  if (rule.group) {
    // Records before this one have already moved this tick.
    if (e.home_x > right) turn_formation(-1);
    if (e.home_x < 0) turn_formation(1);
  } else if (e.home_x > right || e.home_x < 0) {
    e.home_dx = -e.home_dx;
  }
  // With no bob home_dy is 0 and sway keeps its value.
  e.sway += e.home_dy;
  e.home_x += e.home_dx;
  e.home_y += e.home_dy;
}

void follow_slot(Enemy &e) {
  e.dx = e.home_dx;
  e.dy = e.home_dy;
}

void move(Enemy &e) {
  e.x += e.dx;
  e.y += e.dy;
}

void clamp_x(Enemy &e) {
  if (e.x < 0) e.x = 0;
  if (e.x > PICTURE_WIDTH - e.width) e.x = PICTURE_WIDTH - e.width;
}

void clamp_top(Enemy &e, int row) {
  if (e.y < 0) e.y = row;
}

void random_drift(Enemy &e) { e.dx = (random_number() & 3) - 2; }

void homing_drift(Enemy &e) { e.dx = sign_of(player.x - e.x) + (random_number() & 1); }

void dodge(int index, const Dodge &rule) {
  if (rule.dx_per_threat == 0) return;
  int t = shot_threat(index);
  if (t == 0) return;
  Enemy &e = enemies[index];
  e.dx = rule.dx_per_threat * t;
  if (rule.sets_dy) e.dy = rule.dy;
  if (!rule.escapes_walls) return;
  // Near a wall: its right edge less than a width from the right one, or its
  // left edge less than two widths from the left one.
  if (e.x > PICTURE_WIDTH - 2 * e.width) {
    e.dx = -3;
    e.dy = -2;
  }
  if (e.x < 2 * e.width) {
    e.dx = 2;
    e.dy = -2;
  }
}

void return_move(Enemy &e, int m) {
  e.dx = sign_of(e.home_x - e.x);
  e.dy = m * sign_of(e.home_y - e.y);
}

void home_check(Enemy &e) {
  if (e.x != e.home_x || e.y != e.home_y) return;
  e.state = ENEMY_IN_FORMATION;
  follow_slot(e);
  e.x = e.home_x;
  e.y = e.home_y;
}

void fire_check(int index, const Fire &rule) {
  if (rule.divisor == 0 || !player_below(index)) return;
  if (random_number() % rule.divisor + level > FIRE_THRESHOLD) rule.action(index);
}

int shot_threat(int index) {
  const Enemy &e = enemies[index];
  int threat = 0;
  for (const PlayerShot &s : player_shots) {
    if (s.active != 1) continue;
    // The left box is the width beside the enemy and the enemy itself, the
    // right one the two widths right of it: a shot straight below counts as
    // from the left.
    if (threatened_by(s, e.x - e.width, e)) threat = -1;
    if (threatened_by(s, e.x + e.width, e)) threat = 1;
  }
  return threat;
}

bool player_below(int index) {
  const Enemy &e = enemies[index];
  // A column as tall as the screen reaches the ship from any row.
  return boxes_overlap(e.x, e.y, e.width, PICTURE_HEIGHT, player.x, player.y, player.width,
                       player.height) == 1;
}
