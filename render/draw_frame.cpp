// One frame of play: the solid layer into back_buffer in a fixed order, the
// light effects into glow_layer, and the glow blended over it all. The loop
// that draws it presents it.
#include "render/draw_frame.h"

#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "render/direct_draw.h"
#include "render/effects.h"
#include "render/glyph_text.h"
#include "render/starfield.h"
#include "world/records.h"

#include <cstdio>

namespace {

BITMAP *object(int n) { return dat_bitmap(level_data, n); }

// A window of the picture at 1:1. While it lies inside the picture, as it
// does over the whole scroll, a plain copy gives the stretch's pixels at a
// fraction of its cost.
void draw_background() {
  BITMAP *picture = object(level_object::BACKGROUND);
  int row = option_scroll == 1 ? scroll_y : 0;
  if (row >= 0 && row + PICTURE_HEIGHT <= picture->h && picture->w >= PICTURE_WIDTH)
    blit(picture, back_buffer, 0, row, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  else
    stretch_blit(picture, back_buffer, 0, row, PICTURE_WIDTH, PICTURE_HEIGHT, 0, 0, PICTURE_WIDTH,
                 PICTURE_HEIGHT);
}

void draw_lives() {
  for (int i = 0; i < player.lives; ++i)
    stretch_sprite(back_buffer, object(level_object::SHIP), 2 + 8 * i, 14, 8, 8);
}

void draw_score() {
  char text[16];
  std::snprintf(text, sizeof text, "%d", player.score);
  draw_glyph_text(back_buffer, 2, 1, text);
}

void draw_shield_rocks() {
  for (const ShieldRock &r : shield_rocks)
    if (r.state == ROCK_STANDING || r.state == ROCK_REGROWING)
      draw_sprite(back_buffer, object(level_object::ROCK + r.damage), r.x, r.y);
}

void draw_player_shots() {
  for (const PlayerShot &s : player_shots) {
    if (s.active != 1) continue;
    if (option_glow == 1) draw_glow(glow_layer, s.x + 3, s.y + 3, 9, 230);
    draw_sprite(back_buffer, object(level_object::PLAYER_SHOT + s.frame), s.x, s.y);
  }
}

void draw_capsules() {
  for (const Capsule &c : capsules)
    if (c.active == 1) rotate_sprite(back_buffer, object(c.kind), c.x, c.y, itofix(c.spin * 16));
}

void draw_enemy_shots() {
  for (const EnemyShot &s : enemy_shots) {
    if (s.active != 1) continue;
    if (option_glow == 1) draw_glow(glow_layer, s.x + 2, s.y, 3, 230);
    draw_sprite(back_buffer, object(level_object::ENEMY_SHOT + s.frame), s.x, s.y);
  }
}

// Blinks between the blink frame and the level ship while reappearing;
// banks with the sign of the velocity while alive; absent while exploding.
void draw_ship() {
  if (player.lives <= 0) return;
  if (player.state == SHIP_REAPPEARING)
    draw_sprite(back_buffer, object(level_object::SHIP_BLINK + player.exhaust_frame), player.x,
                player.y);
  else if (player.state == SHIP_ALIVE)
    draw_sprite(back_buffer, object(level_object::SHIP + sign_of(player.velocity)), player.x,
                player.y);
}

void draw_enemies() {
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    if (e.active == 1) draw_sprite(back_buffer, object(e.sprite_base + e.frame), e.x, e.y);
  }
}

void draw_explosions() {
  for (int i = 0; i < MAX_EXPLOSIONS; ++i)
    if (explosions[i].active == 1) draw_explosion(i, back_buffer);
}

// Under the ship: 16 pixels at the full 800 ticks, one less every 50.
void draw_reverse_bar() {
  if (reverse_ticks <= 0) return;
  int sx = player.x, sy = player.y;
  rectfill(back_buffer, sx, sy + 16, sx + 16, sy + 20, 0);
  rectfill(back_buffer, sx, sy + 17, sx + reverse_ticks / 50, sy + 19, shade_colours[0]);
  rect(back_buffer, sx, sy + 16, sx + 16, sy + 20, shade_colours[ramp::GREY * 8 + 2]);
}

// Top right: 25 pixels at the full 250 ticks, one less every 10.
void draw_freeze_bar() {
  if (freeze_ticks <= 0) return;
  rectfill(back_buffer, 292, 4, 292 + freeze_ticks / 10, 8, shade_colours[2]);
  rect(back_buffer, 292, 4, 317, 8, shade_colours[ramp::GREY * 8 + 2]);
}

// Through color_map, index 0 leaving the frame as it is.
void blend_glow_layer() {
  drawing_mode(DRAW_MODE_TRANS, back_buffer, 0, 0);
  if (option_glow == 1) blend_layer(back_buffer, glow_layer);
  drawing_mode(DRAW_MODE_SOLID, back_buffer, 0, 0);
}

}  // namespace

void draw_frame() {
  clear(back_buffer);
  if (option_glow == 1) clear_to_color(glow_layer, 0);
  draw_background();
  draw_lives();
  if (option_stars == 1) draw_stars(back_buffer);
  draw_score();
  draw_shield_rocks();
  draw_player_shots();
  draw_capsules();
  draw_enemy_shots();
  draw_ship();
  draw_enemies();
  draw_explosions();
  if (option_glow == 1) draw_explosion_glows(glow_layer);
  draw_exhaust(back_buffer);
  draw_reverse_bar();
  draw_freeze_bar();
  if (demo_mode == DEMO_RUNNING) draw_glyph_text(back_buffer, 0, 225, "DEMO MODE");
  blend_glow_layer();
}
