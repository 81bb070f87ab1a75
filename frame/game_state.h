// State of one game: the level, its datafile, the per-level and per-game shot
// counters, the bonus timers, the background scroll and the player's ship.
#pragma once

#include <allegro.h>

#include <array>

// The ship's state.
enum ShipState {
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
  int state;           // a ShipState
  int state_ticks;
  int width;
  int height;
};

extern Player player;

// How a level ends: level_end is 0 while it is played.
enum LevelEnd {
  LEVEL_PLAYING = 0,
  LEVEL_GAME_OVER = 1,  // lives gone, Esc in a game, a key in the demo
  LEVEL_COMPLETE = 2,
};

extern int level;            // 1 to 12
extern DATAFILE *level_data; // graphics of the current group of three levels
extern int level_end;        // a LevelEnd
extern int shots_fired;
extern int shots_hit;
extern int total_shots_fired;
extern int total_shots_hit;
extern int reverse_ticks;
extern int scroll_y;
extern int scroll_tick;
extern std::array<float, 200> direction_table;
extern int demo_steer;

// Object 78 of the level datafile; the desktop palette while none is loaded.
const RGB *level_palette();
