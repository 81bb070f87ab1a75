// Thirty stars in four depth layers: the nearer the layer, the brighter the
// grey and the faster the fall (one pixel every layer + 3 ticks).
#include "render/starfield.h"

#include "frame/game_state.h"
#include "frame/random.h"
#include "platform/platform.h"

namespace {

constexpr int layer_grey[4] = {255, 200, 150, 100};
// The row just below the screen; the next step wraps to row 0.
constexpr int LOWEST_ROW = PICTURE_HEIGHT;

}  // namespace

void init_stars() {
  int colour[4];
  for (int l = 0; l < 4; ++l) colour[l] = makecol(layer_grey[l], layer_grey[l], layer_grey[l]);
  for (Star &s : stars) {
    s.x = random_number() % PICTURE_WIDTH;
    s.y = random_number() % PICTURE_HEIGHT;
    s.layer = random_number() % 4;
    s.delay = s.layer + 2;
    s.colour = colour[s.layer];
  }
}

void step_stars() {
  for (Star &s : stars) {
    if (--s.delay >= 0) continue;
    ++s.y;
    s.delay = s.layer + 2;
    if (s.y > LOWEST_ROW) {
      s.y = 0;
      s.x = random_number() % PICTURE_WIDTH;
    }
  }
}

void draw_stars(BITMAP *bitmap) {
  for (const Star &s : stars) putpixel(bitmap, s.x, s.y, s.colour);
}
