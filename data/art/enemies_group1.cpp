// Levels 1-3: the wasp (kind 1) and the armoured beetle (kind 2).
#include "data/art/enemy_art.h"

namespace {

// Left half of the wasp, head down towards the ship: striped abdomen,
// thorax, head with red eyes and mandibles.
const AnimatedGrid wasp_body{
    R"(........
       ......kk
       .....kgG
       .....kkk
       ....kgGG
       ....kkkk
       ....kggG
       .....kkk
       .....kbB
       .....kbB
       ......kk
       .....kre
       .....kRh
       ......kh
       .....m.k
       ......m.)",
    15,
    true,
    {solid('k', BLACK), ink('g', GOLD, 4), ink('G', GOLD, 6), ink('b', BROWN, 3),
     ink('B', BROWN, 5), ink('r', CRIMSON, 4, 1), ink('R', CRIMSON, 6, 1), ink('e', CRIMSON, 2),
     ink('h', STEEL, 3), ink('m', BROWN, 4)},
    {0, 0, 0, 0, 0, 0, 0},
    {0, 1, 1, 0, -1, -1, 0}};

}  // namespace

Bitmap8 wasp_frame(int f, int n) {
  Bitmap8 b(15, 16);
  // Wings beat up and down beside the thorax.
  float lift = cycle_sin(f, n) * 2.5f;
  for (int side : {-1, 1}) {
    float cx = 7.5f + side * 4.5f;
    // Pale steel wings, so that the wasp never reads as one of the ship's
    // cyan shots.
    fill_ellipse(b, cx, 7.5f - lift, 3.6f, 2.4f + std::fabs(lift) * 0.2f, STEEL.at(4));
    fill_ellipse(b, cx - side * 0.5f, 7.0f - lift, 2.2f, 1.2f, STEEL.at(6));
  }
  stamp(b, render_grid(wasp_body, f), 0, 0);
  add_outline(b);
  return b;
}

Bitmap8 beetle_frame(int f, int n) {
  Bitmap8 b(22, 24);
  int step = f % 2;
  // Three pairs of legs, alternating.
  for (int pair = 0; pair < 3; ++pair) {
    int y = 6 + pair * 5;
    int reach = ((pair + step) % 2) ? 2 : 0;
    draw_line(b, 6, y, 1, y - 2 + reach, BROWN.at(5));
    draw_line(b, 15, y, 20, y - 2 + reach, BROWN.at(5));
  }
  // Shell with its seam and spots.
  shaded_ellipse(b, 11.0f, 10.0f, 8.0f, 9.5f, CRIMSON, 1, 7);
  for (int y = 1; y < 19; ++y) b.set(10, y, CRIMSON.at(0)), b.set(11, y, CRIMSON.at(1));
  for (auto [x, y] : {std::pair{7, 6}, {14, 6}, {6, 12}, {15, 12}, {8, 15}, {13, 15}}) {
    b.set(x, y, BLACK);
    b.set(x, y + 1, BLACK);
  }
  // Head, eyes and mandibles that open and close.
  shaded_ellipse(b, 11.0f, 19.5f, 5.0f, 3.2f, STEEL, 1, 5);
  int eye = GOLD.at(5 + (f % 3 == 0 ? 2 : 0));
  b.set(8, 19, eye), b.set(13, 19, eye);
  float open = 0.5f + 0.5f * cycle_cos(f, n);
  int spread = int(std::lround(open * 2));
  draw_line(b, 8, 21, 8 - spread, 23, STEEL.at(6));
  draw_line(b, 13, 21, 13 + spread, 23, STEEL.at(6));
  add_outline(b);
  return b;
}
