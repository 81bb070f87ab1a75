// The pause: the world and the timer stop, "PAUSE" shrinks into the corner,
// the game waits for P, and the caption grows away again.
#include "frame/controls.h"

#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/glyph_text.h"

namespace {

void restore(BITMAP *snapshot) { blit(snapshot, back_buffer, 0, 0, 0, 0, 320, 240); }

// From 18 times its size, shrinking about (285, 234) to its true size at
// (250, 228): 18 frames.
void shrink_caption(BITMAP *label, BITMAP *snapshot) {
  for (int k = 0; k < 18; ++k) {
    stretch_sprite(back_buffer, label, -345 + 35 * k, 126 + 6 * k, 1260 - 70 * k, 216 - 12 * k);
    present_frame();
    restore(snapshot);
  }
}

// From true size, growing about (250, 228) to 18 times: 18 frames.
void grow_caption(BITMAP *label, BITMAP *snapshot) {
  for (int k = 0; k < 18; ++k) {
    stretch_sprite(back_buffer, label, 215 - 35 * k, 222 - 6 * k, 70 + 70 * k, 12 + 12 * k);
    present_frame();
    restore(snapshot);
  }
}

}  // namespace

int pause_game() {
  platform_remove_timer(timer_tick);
  OwnedBitmap snapshot = new_bitmap(320, 240);
  OwnedBitmap label = new_bitmap(70, 12);
  clear(label.get());
  blit(platform_screen(), snapshot.get(), 0, 0, 0, 0, 320, 240);
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
