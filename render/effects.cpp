// The particle, dot and halo drawing of the frame. Explosions put up to
// 50,000 soft dots and 10,000 heads or blobs on a frame, so dots well inside
// the screen are read and written straight from the bitmap's lines with the
// palette's components summed from one packed table; dots near an edge, and
// bitmaps that are not plain 8-bit memory bitmaps, take the library's way.
// Both ways give the same pixels.
#include "render/effects.h"

#include "frame/colour_tables.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "render/direct_draw.h"

#include <cstdint>
#include <cstring>

namespace {

// A neighbour of a soft dot: black when it lies near the screen edge, or off
// the bitmap altogether (where getpixel answers -1).
int neighbour(BITMAP *bitmap, int x, int y, bool inside) {
  if (!inside) return 0;
  int c = getpixel(bitmap, x, y);
  return c < 0 ? 0 : c;
}

void library_soft_dot(BITMAP *bitmap, int x, int y, int colour) {
  int right = neighbour(bitmap, x + 1, y, x + 2 < PICTURE_WIDTH);
  int left = neighbour(bitmap, x - 1, y, x - 2 > 0);
  int below = neighbour(bitmap, x, y + 1, y + 2 < PICTURE_HEIGHT);
  int above = neighbour(bitmap, x, y - 1, y - 2 > 0);
  int red = (getr(above) + getr(below) + getr(left) + getr(right) + getr(colour)) / 5;
  int green = (getg(above) + getg(below) + getg(left) + getg(right) + getg(colour)) / 5;
  int blue = (getb(above) + getb(below) + getb(left) + getb(right) + getb(colour)) / 5;
  rectfill(bitmap, x - 1, y - 1, x + 1, y + 1, makecol8(red, green, blue));
}

// The 8-bit red, green and blue of every entry of the palette on show, as
// getr, getg and getb give them in the 8-bit mode, in 16-bit fields so that
// the five colours of a dot add up in one sum. Rebuilt when the palette
// changes.
struct PackedPalette {
  PALETTE seen;
  uint64_t rgb[256];
  bool built = false;
};
PackedPalette packed;

const uint64_t *packed_palette() {
  if (!packed.built || std::memcmp(packed.seen, _current_palette, sizeof(PALETTE)) != 0) {
    std::memcpy(packed.seen, _current_palette, sizeof(PALETTE));
    for (int c = 0; c < 256; ++c)
      packed.rgb[c] = static_cast<uint64_t>(getr8(c)) | static_cast<uint64_t>(getg8(c)) << 16 |
                      static_cast<uint64_t>(getb8(c)) << 32;
    packed.built = true;
  }
  return packed.rgb;
}

// Whether dots, heads and blobs of the 320 x 240 screen can go straight to
// the bitmap's lines: an 8-bit memory bitmap at least that large, clipped to
// no less, in the 8-bit mode with a colour lookup table installed.
bool screen_direct(const BITMAP *b) {
  if (!direct_access(b) || get_color_depth() != 8 || !rgb_map) return false;
  ClipBox c = clip_box(b);
  return c.left == 0 && c.top == 0 && c.right >= PICTURE_WIDTH && c.bottom >= PICTURE_HEIGHT;
}

// All four neighbours of the dot count and its block lies on the bitmap.
bool well_inside(int x, int y) {
  return x >= 3 && x <= PICTURE_WIDTH - 3 && y >= 3 && y <= PICTURE_HEIGHT - 3;
}

void fill_three(uint8_t *at, uint8_t c) {
  at[-1] = c;
  at[0] = c;
  at[1] = c;
}

void inner_soft_dot(BITMAP *b, const uint64_t *rgb, int x, int y, int colour) {
  uint8_t *above = b->line[y - 1] + x, *row = b->line[y] + x, *below = b->line[y + 1] + x;
  uint64_t sum = rgb[*above] + rgb[*below] + rgb[row[-1]] + rgb[row[1]] + rgb[colour];
  int red = static_cast<int>(sum & 0xffff) / 5;
  int green = static_cast<int>(sum >> 16 & 0xffff) / 5;
  int blue = static_cast<int>(sum >> 32) / 5;
  uint8_t c = rgb_map->data[red >> 3][green >> 3][blue >> 3];
  fill_three(above, c);
  fill_three(row, c);
  fill_three(below, c);
}

// Soft dots onto one bitmap, the palette table fetched once.
struct DotPainter {
  BITMAP *bitmap;
  bool direct;
  const uint64_t *rgb;

  explicit DotPainter(BITMAP *b)
      : bitmap(b), direct(screen_direct(b)), rgb(direct ? packed_palette() : nullptr) {}

  void dot(int x, int y, int colour) const {
    if (direct && well_inside(x, y))
      inner_soft_dot(bitmap, rgb, x, y, colour);
    else
      library_soft_dot(bitmap, x, y, colour);
  }

  // rect(x, y, x + 1 or x, y + 1 or y): at most 2 x 2, all of it border.
  void head(int x1, int y1, int x2, int y2, int colour) const {
    if (direct && x1 >= 0 && y1 >= 0 && x2 < PICTURE_WIDTH && y2 < PICTURE_HEIGHT) {
      for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) bitmap->line[y][x] = static_cast<uint8_t>(colour);
    } else {
      rect(bitmap, x1, y1, x2, y2, colour);
    }
  }
};

void draw_trails(const DotPainter &paint, const Explosion &e) {
  for (const Particle &p : e.particles) {
    if (p.active != 1) continue;
    const int *shades = &shade_colours[p.ramp * 8];
    paint.head(static_cast<int>(p.x), static_cast<int>(p.y), static_cast<int>(p.x + 1.0),
               static_cast<int>(p.y + 1.0), shades[0]);
    for (int k = 0; k <= p.trail_len - 2; ++k)
      paint.dot(p.trail_x[k], p.trail_y[k], shades[k + 1]);
  }
}

void draw_blobs(BITMAP *bitmap, const Explosion &e) {
  for (const Particle &p : e.particles) {
    if (p.active != 1) continue;
    fill_circle(bitmap, static_cast<int>(p.x), static_cast<int>(p.y), p.trail_len / 4,
                shade_colours[p.ramp * 8 + 7 - p.trail_len]);
  }
}

}  // namespace

void draw_glow(BITMAP *bitmap, int x, int y, int radius, int colour) {
  fill_circle(bitmap, x, y, radius, colour - 10);
  if (radius > 4) fill_circle(bitmap, x, y, radius - 4, colour);
}

void draw_exhaust(BITMAP *bitmap) {
  DotPainter paint(bitmap);
  int n = 0;
  for (const ExhaustParticle &p : exhaust) {
    if (p.active != 1) continue;
    if (++n == 5) n = 0;
    paint.dot(p.x, p.y, shade_colours[n]);
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
    draw_trails(DotPainter(bitmap), e);
  else
    draw_blobs(bitmap, e);
}
