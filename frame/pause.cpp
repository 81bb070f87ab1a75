// The pause: the world and the timer stop, "PAUSE" shrinks into the corner,
// the game waits for P, and the caption grows away again.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/glyph_text.h"

namespace {

// "PAUSE" on a label of its own; at its true size it rests in the bottom
// right corner.
constexpr int LABEL_WIDTH = 70, LABEL_HEIGHT = 12;
constexpr int REST_X = PICTURE_WIDTH - LABEL_WIDTH, REST_Y = PICTURE_HEIGHT - LABEL_HEIGHT;
// The caption starts and ends this many times its true size, one frame at
// each whole size in between.
constexpr int LARGEST_SIZE = 18;

void restore(BITMAP *snapshot) {
  blit(snapshot, back_buffer, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
}

// The label at `times` its true size with its centre on (x, y).
void draw_caption_about(BITMAP *label, int x, int y, int times) {
  stretch_sprite(back_buffer, label, x - LABEL_WIDTH / 2 * times, y - LABEL_HEIGHT / 2 * times,
                 LABEL_WIDTH * times, LABEL_HEIGHT * times);
}

// Shrinks about the centre of its resting place, (285, 234), down to its
// true size there: 18 frames.
void shrink_caption(BITMAP *label, BITMAP *snapshot) {
  for (int times = LARGEST_SIZE; times >= 1; --times) {
    draw_caption_about(label, REST_X + LABEL_WIDTH / 2, REST_Y + LABEL_HEIGHT / 2, times);
    present_frame();
    restore(snapshot);
  }
}

// Grows from its true size up to 18 times: 18 frames. It grows about the
// top-left corner of its resting place, (250, 228), not its centre, so its
// first frame stands half a label up and left of where it rested.
void grow_caption(BITMAP *label, BITMAP *snapshot) {
  for (int times = 1; times <= LARGEST_SIZE; ++times) {
    draw_caption_about(label, REST_X, REST_Y, times);
    present_frame();
    restore(snapshot);
  }
}

}  // namespace

int pause_game() {
  platform_remove_timer(timer_tick);
  OwnedBitmap snapshot = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  OwnedBitmap label = new_bitmap(LABEL_WIDTH, LABEL_HEIGHT);
  clear(label.get());
  blit(platform_screen(), snapshot.get(), 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  platform_clear_keybuf();
  draw_glyph_text(label.get(), 0, 0, "PAUSE");
  shrink_caption(label.get(), snapshot.get());
  while (!platform_key(KEY_P)) platform_yield();
  grow_caption(label.get(), snapshot.get());
  platform_clear_keybuf();
  platform_set_palette(level_palette());
  platform_install_timer(timer_tick);
  return 0;
}
