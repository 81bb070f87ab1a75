// The table of enemy painters, by kind.
#include "data/art/enemy_art.h"

#include "world/enemy_kinds.h"

#include <cstdlib>

namespace {

using Painter = Bitmap8 (*)(int, int);
constexpr Painter painters[9] = {nullptr,          wasp_frame,  beetle_frame, spore_mine_frame, crab_frame,
                                 jelly_frame,      moth_frame,  blade_frame,  mothership_frame};

}  // namespace

std::vector<Bitmap8> enemy_frames(int kind) {
  const EnemyKind &k = enemy_kinds[kind];
  std::vector<Bitmap8> frames;
  for (int f = 0; f < k.frame_count; ++f) {
    frames.push_back(painters[kind](f, k.frame_count));
    if (frames.back().width != k.width || frames.back().height != k.height)
      art_error("enemy kind " + std::to_string(kind) + " is drawn at the wrong size");
  }
  return frames;
}

void draw_line(Bitmap8 &b, int x0, int y0, int x1, int y1, int index) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
  for (;;) {
    b.set(x0, y0, index);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}
