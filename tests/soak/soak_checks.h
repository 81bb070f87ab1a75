// What must hold after every tick of play, whatever happened in it.
#pragma once

#include <string>

// Empty when every count agrees with its records and every counter and
// coordinate lies in its range; otherwise what is wrong.
std::string world_fault();

// Extremes of the enemies' and their slots' positions seen so far (they have
// no fixed range for every kind; the soak reports them).
struct EnemyExtent {
  int min_x = 1 << 30, max_x = -(1 << 30), min_y = 1 << 30, max_y = -(1 << 30);
  int min_home_x = 1 << 30, max_home_x = -(1 << 30);  // slot left and right edges
};
extern EnemyExtent enemy_extent;
