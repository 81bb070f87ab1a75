#include "bench/reference_frame.h"

#include "combat/collisions.h"
#include "combat/explosions.h"
#include "combat/weapons.h"
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "render/direct_draw.h"
#include "render/glyph_text.h"
#include "render/starfield.h"
#include "world/enemies.h"
#include "world/world_tick.h"

#include <cstdio>
#include <cstring>

namespace {

BITMAP *object(int n) { return dat_bitmap(level_data, n); }

void plot_fill(BITMAP *b, int colour) {
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) putpixel(b, x, y, colour);
}

void plot_box(BITMAP *b, int x1, int y1, int x2, int y2, int colour) {
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) putpixel(b, x, y, colour);
}

void plot_frame_box(BITMAP *b, int x1, int y1, int x2, int y2, int colour) {
  for (int x = x1; x <= x2; ++x) {
    putpixel(b, x, y1, colour);
    putpixel(b, x, y2, colour);
  }
  for (int y = y1; y <= y2; ++y) {
    putpixel(b, x1, y, colour);
    putpixel(b, x2, y, colour);
  }
}

// draw_sprite: every non-zero pixel of the sprite.
void plot_sprite(BITMAP *b, BITMAP *sprite, int x, int y) {
  for (int sy = 0; sy < sprite->h; ++sy)
    for (int sx = 0; sx < sprite->w; ++sx) {
      int c = getpixel(sprite, sx, sy);
      if (c != 0) putpixel(b, x + sx, y + sy, c);
    }
}

void plot_text(BITMAP *b, int x, int y, const char *text) {
  for (int i = 0; text[i] != '\0'; ++i) {
    const char *at = std::strchr(glyph_order, text[i]);
    if (at) plot_sprite(b, object(level_object::GLYPHS + static_cast<int>(at - glyph_order)),
                        x + 12 * i, y);
  }
}

void plot_glow(BITMAP *b, int x, int y, int radius, int colour) {
  reference_circlefill(b, x, y, radius, colour - 10);
  if (radius > 4) reference_circlefill(b, x, y, radius - 4, colour);
}

void plot_background() {
  BITMAP *picture = object(level_object::BACKGROUND);
  int row = option_scroll == 1 ? scroll_y : 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) putpixel(back_buffer, x, y, getpixel(picture, x, row + y));
}

void plot_hud() {
  for (int i = 0; i < player.lives; ++i)
    stretch_sprite(back_buffer, object(level_object::SHIP), 2 + 8 * i, 14, 8, 8);
  if (option_stars == 1)
    for (const Star &s : stars) putpixel(back_buffer, s.x, s.y, s.colour);
  char score[16];
  std::snprintf(score, sizeof score, "%d", player.score);
  plot_text(back_buffer, 2, 1, score);
}

void plot_shots_and_rocks() {
  for (const ShieldRock &r : shield_rocks)
    if (r.state == 1 || r.state == -1)
      plot_sprite(back_buffer, object(level_object::ROCK + r.damage), r.x, r.y);
  for (const PlayerShot &s : player_shots) {
    if (s.active != 1) continue;
    if (option_glow == 1) plot_glow(glow_layer, s.x + 3, s.y + 3, 9, 230);
    plot_sprite(back_buffer, object(level_object::PLAYER_SHOT + s.frame), s.x, s.y);
  }
  for (const Capsule &c : capsules)
    if (c.active == 1) rotate_sprite(back_buffer, object(c.kind), c.x, c.y, itofix(c.spin * 16));
  for (const EnemyShot &s : enemy_shots) {
    if (s.active != 1) continue;
    if (option_glow == 1) plot_glow(glow_layer, s.x + 2, s.y, 3, 230);
    plot_sprite(back_buffer, object(level_object::ENEMY_SHOT + s.frame), s.x, s.y);
  }
}

void plot_ship_and_enemies() {
  if (player.lives > 0) {
    int sign = (player.velocity > 0) - (player.velocity < 0);
    if (player.state == -2)
      plot_sprite(back_buffer, object(level_object::SHIP_BLINK + player.exhaust_frame), player.x,
                  player.y);
    else if (player.state == 1)
      plot_sprite(back_buffer, object(level_object::SHIP + sign), player.x, player.y);
  }
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    if (e.active == 1) plot_sprite(back_buffer, object(e.sprite_base + e.frame), e.x, e.y);
  }
}

void plot_particles(const Explosion &e) {
  for (const Particle &p : e.particles) {
    if (p.active != 1) continue;
    const int *shades = &shade_colours[p.ramp * 8];
    int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    if (e.trail_style == 1) {
      plot_frame_box(back_buffer, x, y, static_cast<int>(p.x + 1.0), static_cast<int>(p.y + 1.0),
                     shades[0]);
      for (int k = 0; k <= p.trail_len - 2; ++k)
        reference_soft_dot(back_buffer, p.trail_x[k], p.trail_y[k], shades[k + 1]);
    } else {
      reference_circlefill(back_buffer, x, y, p.trail_len / 4, shades[7 - p.trail_len]);
    }
  }
}

void plot_effects() {
  for (const Explosion &e : explosions)
    if (e.active == 1) plot_particles(e);
  if (option_glow == 1)
    for (const Explosion &e : explosions)
      if (e.active == 1 && e.glow_radius > 0) plot_glow(glow_layer, e.x, e.y, e.glow_radius, 245);
  int n = 0;
  for (const ExhaustParticle &p : exhaust) {
    if (p.active != 1) continue;
    if (++n == 5) n = 0;
    reference_soft_dot(back_buffer, p.x, p.y, shade_colours[n]);
  }
}

void plot_bars() {
  int grey = shade_colours[ramp::GREY * 8 + 2];
  if (reverse_ticks > 0) {
    int sx = player.x, sy = player.y;
    plot_box(back_buffer, sx, sy + 16, sx + 16, sy + 20, 0);
    plot_box(back_buffer, sx, sy + 17, sx + reverse_ticks / 50, sy + 19, shade_colours[0]);
    plot_frame_box(back_buffer, sx, sy + 16, sx + 16, sy + 20, grey);
  }
  if (freeze_ticks > 0) {
    plot_box(back_buffer, 292, 4, 292 + freeze_ticks / 10, 8, shade_colours[2]);
    plot_frame_box(back_buffer, 292, 4, 317, 8, grey);
  }
}

void plot_blend() {
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      int light = getpixel(glow_layer, x, y);
      if (light != 0)
        putpixel(back_buffer, x, y, color_map->data[light][getpixel(back_buffer, x, y)]);
    }
}

int neighbour(BITMAP *b, int x, int y, bool inside) {
  int c = inside ? getpixel(b, x, y) : 0;
  return c < 0 ? 0 : c;
}

}  // namespace

void reference_circlefill(BITMAP *b, int x, int y, int radius, int colour) {
  for_each_circle_span(radius, [&](int dy, int w) {
    for (int px = x - w; px <= x + w; ++px) putpixel(b, px, y + dy, colour);
  });
}

void reference_soft_dot(BITMAP *b, int x, int y, int colour) {
  int c[5] = {neighbour(b, x, y - 1, y - 2 > 0), neighbour(b, x, y + 1, y + 2 < 240),
              neighbour(b, x - 1, y, x - 2 > 0), neighbour(b, x + 1, y, x + 2 < 320), colour};
  int r = 0, g = 0, bl = 0;
  for (int i : c) {
    r += getr(i);
    g += getg(i);
    bl += getb(i);
  }
  plot_box(b, x - 1, y - 1, x + 1, y + 1, makecol8(r / 5, g / 5, bl / 5));
}

void reference_draw_frame() {
  plot_fill(back_buffer, 0);
  if (option_glow == 1) plot_fill(glow_layer, 0);
  plot_background();
  plot_hud();
  plot_shots_and_rocks();
  plot_ship_and_enemies();
  plot_effects();
  plot_bars();
  if (demo_mode == -1) plot_text(back_buffer, 0, 225, "DEMO MODE");
  if (option_glow == 1) plot_blend();
}
