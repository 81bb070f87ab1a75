// The collision pass of one tick, scoring, bonuses and the shield rocks.
#pragma once

#include <array>

struct ShieldRock {
  int x, y;
  int damage;  // 0 to 5; also the sprite frame
  int state;   // 0 absent, 1 standing, -1 regrowing
  int regrow_timer;
  int width, height;
};

constexpr int MAX_SHIELD_ROCKS = 3;
extern std::array<ShieldRock, MAX_SHIELD_ROCKS> shield_rocks;

// 1 when the boxes (top-left corner and size) overlap; touching is not.
int boxes_overlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
void resolve_collisions();
// The ship's one-step weakening: speed, weapon and firepower, each down to
// its floor (3, 1 and 2; a speed already below 3 stays).
void degrade_ship();
// Every score gain also counts towards the next extra life.
void add_score(int points);
