#include "render/effects.h"

#include "combat/explosions.h"
#include "frame/colour_tables.h"
#include "frame/program.h"
#include "world/world_tick.h"

namespace {

// A neighbour of a soft dot: black when it lies near the screen edge, or off
// the bitmap altogether (where getpixel answers -1).
int neighbour(BITMAP *bitmap, int x, int y, bool inside) {
  if (!inside) return 0;
  int c = getpixel(bitmap, x, y);
  return c < 0 ? 0 : c;
}

void draw_trails(BITMAP *bitmap, const Explosion &e) {
  for (const Particle &p : e.particles) {
    if (p.active != 1) continue;
    const int *shades = &shade_colours[p.ramp * 8];
    rect(bitmap, static_cast<int>(p.x), static_cast<int>(p.y), static_cast<int>(p.x + 1.0),
         static_cast<int>(p.y + 1.0), shades[0]);
    for (int k = 0; k <= p.trail_len - 2; ++k)
      draw_soft_dot(bitmap, p.trail_x[k], p.trail_y[k], shades[k + 1]);
  }
}

void draw_blobs(BITMAP *bitmap, const Explosion &e) {
  for (const Particle &p : e.particles) {
    if (p.active != 1) continue;
    circlefill(bitmap, static_cast<int>(p.x), static_cast<int>(p.y), p.trail_len / 4,
               shade_colours[p.ramp * 8 + 7 - p.trail_len]);
  }
}

}  // namespace

void draw_glow(BITMAP *bitmap, int x, int y, int radius, int colour) {
  circlefill(bitmap, x, y, radius, colour - 10);
  if (radius > 4) circlefill(bitmap, x, y, radius - 4, colour);
}

void draw_soft_dot(BITMAP *bitmap, int x, int y, int colour) {
  int right = neighbour(bitmap, x + 1, y, x + 2 < 320);
  int left = neighbour(bitmap, x - 1, y, x - 2 > 0);
  int below = neighbour(bitmap, x, y + 1, y + 2 < 240);
  int above = neighbour(bitmap, x, y - 1, y - 2 > 0);
  int red = (getr(above) + getr(below) + getr(left) + getr(right) + getr(colour)) / 5;
  int green = (getg(above) + getg(below) + getg(left) + getg(right) + getg(colour)) / 5;
  int blue = (getb(above) + getb(below) + getb(left) + getb(right) + getb(colour)) / 5;
  rectfill(bitmap, x - 1, y - 1, x + 1, y + 1, makecol8(red, green, blue));
}

void draw_exhaust(BITMAP *bitmap) {
  int n = 0;
  for (const ExhaustParticle &p : exhaust) {
    if (p.active != 1) continue;
    if (++n == 5) n = 0;
    draw_soft_dot(bitmap, p.x, p.y, shade_colours[n]);
  }
}

void draw_explosion_glows(BITMAP *bitmap) {
  for (const Explosion &e : explosions)
    if (e.active == 1 && e.glow_radius > 0) draw_glow(bitmap, e.x, e.y, e.glow_radius, 245);
  drawing_mode(DRAW_MODE_SOLID, back_buffer, 0, 0);
}

void draw_explosion(int index, BITMAP *bitmap) {
  const Explosion &e = explosions[index];
  if (e.trail_style == 1)
    draw_trails(bitmap, e);
  else
    draw_blobs(bitmap, e);
}
