// Game over: over the last picture of play "G A M E   O V E R" grows from a
// dot while its tune plays; after a key the picture spins and shrinks into
// the centre and the screen fades to black.
#include "frame/game_over.h"

#include "frame/catalogue.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/glyph_text.h"
#include "render/turned_picture.h"

namespace {

const char caption[] = "G A M E   O V E R";
constexpr int LABEL_WIDTH = 208, LABEL_HEIGHT = 20;

// Scales 0.001 to 0.981 in steps of 0.02, centred on the screen: 50 frames,
// the largest 204 x 19.
void grow_caption(BITMAP *label, BITMAP *snapshot) {
  float s = 0.001f;
  double sum;
  do {
    blit(snapshot, back_buffer, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
    int w = static_cast<int>(LABEL_WIDTH * s);
    int h = static_cast<int>(LABEL_HEIGHT * s);
    int x = static_cast<int>((PICTURE_WIDTH - LABEL_WIDTH * s) * 0.5);
    int y = static_cast<int>((PICTURE_HEIGHT - LABEL_HEIGHT * s) * 0.5);
    stretch_sprite(back_buffer, label, x, y, w, h);
    present_frame();
    sum = static_cast<double>(s) + 0.02;
    s = static_cast<float>(sum);
  } while (sum <= 1.0);
}

// Scales 1.0 down to about 0.01, turning 4 units a frame the other way: 100
// frames on black.
void spin_and_shrink(BITMAP *snapshot) {
  float s = 1.0f;
  int a = 0;
  double rest;
  do {
    draw_turned_picture(snapshot, itofix(a), s);
    a -= 4;
    present_frame();
    clear(back_buffer);
    rest = static_cast<double>(s) - 0.01;
    s = static_cast<float>(rest);
  } while (rest > 0.01);
}

}  // namespace

int game_over() {
  platform_clear_keybuf();
  OwnedBitmap snapshot_owner = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  OwnedBitmap label_owner = new_bitmap(LABEL_WIDTH, LABEL_HEIGHT);
  BITMAP *snapshot = snapshot_owner.get(), *label = label_owner.get();
  clear(snapshot);
  clear(label);
  draw_glyph_text(label, 0, 0, caption);
  blit(back_buffer, snapshot, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  platform_clear_keybuf();
  platform_stop_sample(sound_object::TUNE);
  platform_play_sample(sound_object::GAME_OVER_TUNE, 255, 128, 1000, 0);

  grow_caption(label, snapshot);
  blit(platform_screen(), snapshot, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  platform_readkey();
  spin_and_shrink(snapshot);

  platform_fade_out(5);
  platform_vsync();
  platform_clear_screen();
  platform_stop_sample(sound_object::GAME_OVER_TUNE);
  return 0;
}
