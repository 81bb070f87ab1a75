// Levels 1-3: the wasp (kind 1) and the armoured beetle (kind 2). Both face
// down at the ship; their wings beat round the cycle.
#include "data/art/enemy_art.h"

namespace {

// A wing fixed at a shoulder, `length` long, pointing out to `side` and
// raised `lift` radians towards the back (up the screen).
void wing(Bitmap8 &b, float x, float y, int side, float lift, float length, float width) {
  float dx = side * std::cos(lift), dy = -std::sin(lift);
  float cx = x + dx * (length - 0.6f), cy = y + dy * (length - 0.6f);
  shaded_turned_ellipse(b, cx, cy, length, width, side > 0 ? -lift : lift, GREY_SHADES, 4, 7);
  // The vein along the wing.
  for (float t = 0.8f; t < length * 1.6f; t += 0.5f) b.set(int(x + dx * t), int(y + dy * t), GREY_SHADES.at(3));
}

// A body part shaded like a dome, in bands of two ramps across y.
void striped_segment(Bitmap8 &b, float cx, float cy, float rx, float ry, float band, const Ramp &light,
                     const Ramp &dark) {
  Bitmap8 lit(b.width, b.height), shadow(b.width, b.height);
  shaded_ellipse(lit, cx, cy, rx, ry, light, 2, 7);
  shaded_ellipse(shadow, cx, cy, rx, ry, dark, 0, 3);
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (!lit.at(x, y)) continue;
      bool stripe = int(std::floor((y + 0.5f - (cy - ry)) / band)) % 2 == 1;
      b.set(x, y, stripe ? shadow.at(x, y) : lit.at(x, y));
    }
}

}  // namespace

Bitmap8 wasp_frame(int f, int n) {
  Bitmap8 b(15, 16);
  // Wings first, behind the body: they sweep between spread and swept back,
  // and look shorter when raised towards the viewer.
  float beat = cycle_cos(f, n);
  float lift = 0.55f + 0.45f * beat, length = 4.6f + 0.6f * beat;
  for (int side : {-1, 1}) wing(b, 7.5f + side * 1.5f, 9.0f, side, lift, length, 2.2f);
  // Legs tucked under the thorax.
  for (int side : {-1, 1}) {
    draw_line(b, int(7.5f + side * 2.5f), 10, int(7.5f + side * 4.5f), 12, BROWN.at(1));
    b.set(int(7.5f + side * 4.5f), 13, BROWN.at(1));
  }
  // Striped abdomen with its sting, the thorax, the head.
  b.set(7, 0, BROWN.at(1));
  striped_segment(b, 7.5f, 4.6f, 3.4f, 4.4f, 2.0f, GOLD, BROWN);
  shaded_ellipse(b, 7.5f, 10.2f, 2.6f, 1.8f, GOLD, 1, 4);
  shaded_ellipse(b, 7.5f, 13.2f, 2.8f, 2.0f, GOLD, 3, 7);
  // Big dark red eyes that glint in turn, mandibles snapping.
  int glint = f % 3 == 0 ? 7 : 5;
  for (int side : {-1, 1}) {
    int x = side < 0 ? 5 : 9;
    b.set(x, 12, CRIMSON.at(side < 0 ? glint : 4));
    b.set(x + 1, 12, CRIMSON.at(2));
    b.set(x, 13, CRIMSON.at(2));
    b.set(x + 1, 13, CRIMSON.at(1));
  }
  int bite = (f % 2) ? 1 : 0;
  b.set(6 - bite, 15, BROWN.at(2));
  b.set(8 + bite, 15, BROWN.at(2));
  add_outline(b);
  return b;
}

Bitmap8 beetle_frame(int f, int n) {
  Bitmap8 b(22, 24);
  float beat = cycle_cos(f, n);
  // Flight wings beating out from under the shell.
  float lift = 0.35f + 0.4f * beat;
  for (int side : {-1, 1}) wing(b, 11.0f + side * 3.0f, 7.0f, side, lift, 7.2f - 0.8f * beat, 2.6f);
  // Six legs, tucked, stepping in two sets of three.
  for (int pair = 0; pair < 3; ++pair) {
    int y = 8 + pair * 4;
    int step = ((pair + f) % 2) ? 1 : -1;
    for (int side : {-1, 1}) {
      int x0 = 11 + side * 6, x1 = 11 + side * 9;
      draw_line(b, x0, y, x1, y + step, BROWN.at(4));
      b.set(x1, y + step + 1, BROWN.at(2));
    }
  }
  // The two halves of the shell, held a pixel apart, ladybird spots.
  for (int side : {-1, 1}) {
    Bitmap8 half(22, 24);
    shaded_ellipse(half, 11.0f, 9.5f, 7.4f, 9.5f, CRIMSON, 1, 7);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 22; ++x)
        if (half.at(x, y) && (side < 0 ? x < 10 : x > 11)) b.set(x, y, half.at(x, y));
  }
  for (int y = 1; y < 18; ++y) b.set(10, y, CRIMSON.at(0)), b.set(11, y, BROWN.at(0));
  for (auto [x, y] : {std::pair{6, 5}, {14, 5}, {5, 10}, {15, 10}, {7, 14}, {13, 14}}) {
    b.set(x, y, BLACK), b.set(x + 1, y, BLACK), b.set(x, y + 1, BLACK), b.set(x + 1, y + 1, BLACK);
  }
  // Head with gold eyes, and horn-like mandibles that open and close.
  shaded_ellipse(b, 11.0f, 19.0f, 5.2f, 3.2f, GREY_SHADES, 1, 6);
  int eye = GOLD.at(f % 3 == 0 ? 7 : 5);
  b.set(8, 18, eye), b.set(13, 18, eye);
  int spread = int(std::lround(1.0f + beat));
  draw_line(b, 9, 21, 9 - spread, 23, GREY_SHADES.at(5));
  draw_line(b, 12, 21, 12 + spread, 23, GREY_SHADES.at(4));
  add_outline(b);
  return b;
}
