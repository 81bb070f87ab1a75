// One logic step of play, in its fixed order, and the exhaust specks.
#pragma once

#include <array>

struct ExhaustParticle {
  int x, y;
  int dx, dy;
  int life;
  int colour;  // always 132; the renderer picks its own shades
  int active;
};

constexpr int MAX_EXHAUST = 10;
extern std::array<ExhaustParticle, MAX_EXHAUST> exhaust;

void world_tick();
void spawn_exhaust(int index);
// One step of every active explosion's particles.
void move_explosions();
