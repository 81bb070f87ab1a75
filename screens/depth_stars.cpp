#include "screens/depth_stars.h"

#include "frame/game_state.h"
#include "frame/random.h"
#include "platform/platform.h"

void init_depth_stars() {
  for (DepthStar &s : depth_stars) {
    s.x = random_number() % 128 - 64;
    s.y = random_number() % 128 - 64;
    s.z = random_number() % 254;
    s.colour = 0;
    random_number();  // drawn and discarded
  }
}

void step_depth_stars() {
  for (DepthStar &s : depth_stars) {
    if (++s.z > 255) s.z = 0;
    s.colour = makecol(s.z, s.z, s.z);
  }
}

// Each star seen in perspective from the middle of the screen.
void draw_depth_stars(BITMAP *bitmap) {
  for (int i = 0; i < DEPTH_STARS_DRAWN; ++i) {
    const DepthStar &s = depth_stars[i];
    int sx = PICTURE_WIDTH / 2 + s.x * 256 / (256 - s.z);
    int sy = PICTURE_HEIGHT / 2 - s.y * 256 / (256 - s.z);
    putpixel(bitmap, sx, sy, s.colour);
  }
}
