// The shared state of play: every global that the play loops, the world,
// combat, the renderer and the results screens read and write, declared
// here and nowhere else. Each is defined by the code that owns it (named
// beside each group). Types only come in: this header declares no function
// besides level_palette, and pulls in no header with functions of the game.
#pragma once

#include "combat/combat_records.h"
#include "world/enemy_records.h"

#include <allegro.h>

#include <array>

// The ship's state.
enum ShipState : int {
  SHIP_ALIVE = 1,
  SHIP_REAPPEARING = -2,  // blinking, cannot be hit, for 90 ticks
  SHIP_EXPLODING = -3,    // after a hit, for 120 ticks; cannot fire
};

struct Player {
  int x;               // left edge, 0 to 290
  int y;               // top edge, 214
  int velocity;        // pixels per tick, negative to the left
  int friction_tick;   // 0, 1: friction acts every second tick
  int exhaust_frame;   // 0 or 2
  int max_speed;
  int firepower;       // most shots in flight at once
  int shots_in_flight;
  int weapon;          // 1 single, 2 double, 3 triple
  int exhaust_tick;
  int score;
  int life_points;     // points towards the next extra life
  int lives;
  ShipState state;
  int state_ticks;
  int width;
  int height;
};

// How a level ends: level_end is 0 while it is played.
enum LevelEnd : int {
  LEVEL_PLAYING = 0,
  LEVEL_GAME_OVER = 1,  // lives gone, Esc in a game, a key in the demo
  LEVEL_COMPLETE = 2,
};

// Whether the demo runs (the renderer then shows "DEMO MODE").
enum DemoMode : int { DEMO_OFF = 0, DEMO_RUNNING = -1 };

// The game (frame/game_state.cpp).
extern Player player;
extern int level;            // 1 to 12
extern DATAFILE *level_data; // graphics of the current group of three levels
extern LevelEnd level_end;
extern int shots_fired;
extern int shots_hit;
extern int total_shots_fired;
extern int total_shots_hit;
extern int reverse_ticks;
extern int scroll_y;
extern int scroll_tick;
extern std::array<float, 200> direction_table;
extern int demo_steer;
extern DemoMode demo_mode;   // (frame/program.cpp)

// The enemies (world/enemies.cpp).
extern std::array<Enemy, MAX_ENEMIES> enemies;
extern int enemy_count;  // records filled by the layout, from index 0
extern std::array<EnemyShot, MAX_ENEMY_SHOTS> enemy_shots;
extern int enemies_destroyed;
extern int shot_timer;
extern int dive_timer;
extern int freeze_ticks;

// The ship's exhaust (world/world_tick.cpp).
extern std::array<ExhaustParticle, MAX_EXHAUST> exhaust;

// Shots and capsules (combat/weapons.cpp), shield rocks
// (combat/collisions.cpp), explosions (combat/explosions.cpp).
extern std::array<PlayerShot, MAX_PLAYER_SHOTS> player_shots;
extern std::array<Capsule, MAX_CAPSULES> capsules;
extern std::array<ShieldRock, MAX_SHIELD_ROCKS> shield_rocks;
extern std::array<Explosion, MAX_EXPLOSIONS> explosions;
extern int active_explosions;
extern int direction_cursor;

// Object 78 of the level datafile; the desktop palette while none is loaded.
const RGB *level_palette();
