// The building blocks that the enemy kinds' rules are made of: moving the
// formation slot, following, dodging, clamping, drifting, returning home and
// the fire check.
#pragma once

#include "world/enemy_records.h"

// How a slot moves each tick. Every form bounces the slot between the screen
// edges; they differ in the vertical bob and in who turns at a wall.
enum class SlotForm {
  ordinary,      // bobs within +-sway_limit; turns at 0 and PICTURE_WIDTH - width
  settling,      // sinks until sway passes its bound, then holds that depth
  narrow,        // ordinary, but turns at 304 whatever the width
  flat,          // no bob at all
  group,         // turning at a wall turns every slot of the table at once
  narrow_group,  // group, turning at 304
};

void slot_move(Enemy &e, SlotForm form);

// Takes this tick's move from the slot's velocity.
void follow_slot(Enemy &e);
void move(Enemy &e);
void clamp_x(Enemy &e);
// Puts an enemy above the top edge back on `row` (0 or 1).
void clamp_top(Enemy &e, int row);

// dx of -2 to 1, on average drifting left.
void random_drift(Enemy &e);
// dx towards the ship with a rightward bias.
void homing_drift(Enemy &e);

// What a kind does when a player shot threatens it (t = shot_threat):
// dx = dx_per_threat * t, and dy where given. The wall escape sends an
// enemy near a side wall upwards and inwards instead.
struct Dodge {
  int dx_per_threat = 0;  // 0: the kind does not dodge
  bool sets_dy = false;
  int dy = 0;
  bool escapes_walls = false;
};
void dodge(int index, const Dodge &rule);

// Heads for the slot, vertically m pixels a tick.
void return_move(Enemy &e, int m);
// Back in formation when exactly on the slot.
void home_check(Enemy &e);

// While the ship is below: a random number modulo `divisor`, plus the
// level, above 15 performs the action on this enemy.
struct Fire {
  int divisor = 0;  // 0: the kind never fires in this state
  void (*action)(int index) = nullptr;
};
void fire_check(int index, const Fire &rule);

// -1 or 1 when a player shot threatens the enemy from the left or the
// right box beside it (the last one found wins), else 0.
int shot_threat(int index);
// Whether the player is in the column under the enemy.
bool player_below(int index);
