// The shared state of play: every global that the play loops, the world,
// combat, the renderer and the screens read and write, listed once and
// declared here and nowhere else. Types only come in: this header declares
// no function besides reset_play_state and level_palette, and pulls in no
// header with functions of the game.
#pragma once

#include "combat/combat_records.h"
#include "render/star_records.h"
#include "screens/screen_records.h"
#include "world/enemy_records.h"

#include <allegro.h>

#include <array>
#include <atomic>
#include <cstdint>

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

// The tables of play, named so that each fits one argument of the list.
using DirectionTable = std::array<float, 200>;
using EnemyTable = std::array<Enemy, MAX_ENEMIES>;
using EnemyShotTable = std::array<EnemyShot, MAX_ENEMY_SHOTS>;
using ExhaustTable = std::array<ExhaustParticle, MAX_EXHAUST>;
using PlayerShotTable = std::array<PlayerShot, MAX_PLAYER_SHOTS>;
using CapsuleTable = std::array<Capsule, MAX_CAPSULES>;
using RockTable = std::array<ShieldRock, MAX_SHIELD_ROCKS>;
using StarTable = std::array<Star, star_count>;
using ExplosionTable = std::array<Explosion, MAX_EXPLOSIONS>;
using DepthStarTable = std::array<DepthStar, DEPTH_STARS>;
using EndingSpriteTable = std::array<EndingSprite, ENDING_SPRITES>;
using OptionMarks = std::array<int, OPTION_ROWS>;

// The state of play, listed once: every global that a game, the demo or a
// screen changes as the program runs, with its type and the value a fresh
// program starts with. The declarations below, the definitions
// (frame/game_state.cpp), reset_play_state and the world hash
// (frame/world_hash.cpp) all come from this list, in its order, so that a
// global added here is reset and hashed with the rest. What the game loads
// or builds from its datafiles (bitmaps, datafiles, colour tables) is not
// play state: their owners declare them.
#define PLAY_STATE(X)                                                              \
  /* the one random sequence (frame/random.cpp) */                                 \
  X(uint32_t, random_state, 1)                                                     \
  X(uint64_t, random_draws, 0) /* numbers drawn since the start */                 \
  /* the game (frame/) */                                                          \
  X(Player, player, {})                                                            \
  X(int, level, 1) /* 1 to 12 */                                                   \
  X(LevelEnd, level_end, LEVEL_PLAYING)                                            \
  X(int, shots_fired, 0)                                                           \
  X(int, shots_hit, 0)                                                             \
  X(int, total_shots_fired, 0)                                                     \
  X(int, total_shots_hit, 0)                                                       \
  X(int, reverse_ticks, 0)                                                         \
  X(int, scroll_y, 0)                                                              \
  X(int, scroll_tick, 0)                                                           \
  X(int, demo_steer, 0)                                                            \
  X(int, fire_held, 0) /* the fire key's latch (frame/controls.cpp) */             \
  X(std::atomic<int>, game_ticks, 0) /* the 60 Hz logic timer's count */           \
  X(DemoMode, demo_mode, DEMO_OFF)                                                 \
  X(DirectionTable, direction_table, {})                                           \
  /* the display options: the first five on the options screen */                  \
  X(int, option_glow, 1)                                                           \
  X(int, option_scroll, 1)                                                         \
  X(int, option_music, 1)                                                          \
  X(int, option_stars, 1)                                                          \
  X(int, option_shot_collisions, 1)                                                \
  X(int, option_effects, 1) /* always 1 */                                         \
  X(int, option_background, 1) /* always 1 */                                      \
  /* the enemies (world/) */                                                       \
  X(EnemyTable, enemies, {})                                                       \
  X(EnemyShotTable, enemy_shots, {})                                               \
  X(int, enemy_count, 0) /* records filled by the layout, from index 0 */          \
  X(int, enemies_destroyed, 0)                                                     \
  X(int, shot_timer, 0)                                                            \
  X(int, dive_timer, 0)                                                            \
  X(int, freeze_ticks, 0)                                                          \
  /* the ship's exhaust (world/), shots, capsules, rocks (combat/), stars */       \
  X(ExhaustTable, exhaust, {})                                                     \
  X(PlayerShotTable, player_shots, {})                                             \
  X(CapsuleTable, capsules, {})                                                    \
  X(RockTable, shield_rocks, {})                                                   \
  X(StarTable, stars, {})                                                          \
  /* explosions (combat/) */                                                       \
  X(ExplosionTable, explosions, {})                                                \
  X(int, active_explosions, 0)                                                     \
  X(int, direction_cursor, 0)                                                      \
  /* the screens (screens/): kept for the whole run */                             \
  X(DepthStarTable, depth_stars, {})                                               \
  X(EndingSpriteTable, ending_sprites, {})                                         \
  X(int, ending_spin, 0)                                                           \
  X(int, ending_spin_tick, 0)                                                      \
  X(float, ending_title_scale, 0.0f)                                               \
  X(OptionMarks, option_marks, {}) /* the options being edited */                  \
  X(int, option_cursor, 0)                                                         \
  X(int, option_key_held, 0)

#define DECLARE_PLAY_STATE(type, name, start) extern type name;
PLAY_STATE(DECLARE_PLAY_STATE)
#undef DECLARE_PLAY_STATE

// Every global of the list back to the value it starts with.
void reset_play_state();

// The graphics of the current group of three levels (held by
// frame/level_start.cpp).
extern DATAFILE *level_data;

// Object 78 of the level datafile; the desktop palette while none is loaded.
const RGB *level_palette();
