// Gallery scenes of play: the first frame and a busy frame of every level,
// the "LEVEL 1" caption, and the pause.
#include "data/gallery/gallery.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/autopilot.h"
#include "frame/catalogue.h"
#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "render/draw_frame.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <cstdio>
#include <string>

namespace {

const char *const PLAY = "Play";

std::string numbered(const char *format, int n) {
  char text[64];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

void play_ticks(int ticks) {
  for (int t = 0; t < ticks; ++t) {
    autopilot_step();
    world_tick();
  }
}

// Explosions on the first few enemies still flying: their kills, as the
// collisions start them, and one hit.
void explode_some_enemies(int how_many) {
  for (int i = 0; i < enemy_count && how_many > 0; ++i) {
    const Enemy &e = enemies[i];
    if (e.active != 1 || (i % 3) != 1) continue;
    int cx = e.x + e.width / 2, cy = e.y + e.height / 2;
    start_explosion(cx, cy, 90, e.kill_style, e.trail_style);
    start_explosion(cx + 20, cy + 10, 10, e.hit_style, e.trail_style);
    fire_enemy_shot(i);
    --how_many;
  }
}

// Four capsules of different bonuses, all nine over the twelve levels.
void drop_capsules(int n) {
  for (int i = 0; i < MAX_CAPSULES; ++i) {
    Capsule &c = capsules[i];
    c = Capsule{};
    c.active = 1;
    c.x = 30 + 78 * i + (n * 13) % 20;
    c.y = 110 + 22 * (i % 2) + (n * 7) % 30;
    c.spin_steps = 16;
    c.spin = (i * 5 + n) % 16;
    c.fall_speed = 2;
    c.kind = level_object::CAPSULES + (n * 4 + i) % 9;
    c.width = c.height = 12;
  }
}

void raise_rocks(int n) {
  for (int k = 0; k < MAX_SHIELD_ROCKS; ++k) {
    shield_rocks[k].state = ROCK_STANDING;
    shield_rocks[k].damage = (k + n) % 4;
  }
}

// A frame from the middle of the level: the formation broken up by dives,
// shots both ways, explosions, capsules, the shield rocks, and one of the
// bonus bars; the background further up than at the start.
void busy_frame(int n) {
  static const int scroll_of[3] = {470, 260, 40};
  player.lives = 9;
  player.weapon = 1 + (n - 1) % 3;
  player.firepower = 4 * player.weapon;
  play_ticks(360);
  explode_some_enemies(3);
  play_ticks(9);
  player.state = SHIP_ALIVE;
  raise_rocks(n);
  drop_capsules(n);
  scroll_y = scroll_of[(n - 1) % 3];
  reverse_ticks = n % 4 == 2 ? 560 : 0;
  freeze_ticks = n % 4 == 3 ? 170 : 0;
  draw_frame();
  present_frame();
  save_screen(numbered("level%02d_busy", n), numbered("Level %d, in the thick of it", n), PLAY);
}

}  // namespace

void level_scenes() {
  reset_game();
  for (int n = 1; n <= 12; ++n) {
    begin_scene();
    level = n;
    SceneScript s;
    s.capture(1, numbered("level%02d_first", n), numbered("Level %d, first frame", n), PLAY);
    if (n == 1) s.capture(54, "level_caption", "The \"LEVEL 1\" caption scrolling in", PLAY);
    s.install();
    level_start(n);
    busy_frame(n);
    if (n == 1) pause_scene();
    if (n == 3) level_results_scene();
    if (n == 5) game_over_scenes();
    if (n == 12) ending_scene();
  }
}

void pause_scene() {
  SceneScript()
      .capture(13, "pause_shrinking", "\"PAUSE\" shrinking into its corner", PLAY)
      .capture(18, "pause", "Paused: the caption at rest", PLAY)
      .hold(KEY_P, 18, 18)
      .install();
  pause_game();
}
