// The yardstick of the display's cost: a bare library loop that presents a
// 320 x 240, 8-bit bitmap at 60 frames a second (paced by the monotonic
// clock), the whole frame every time, scaled with the library's
// stretch_blit to a window of 320s x 240s or centred on a fullscreen screen
// at the desktop's size, in the library's default 8-bit mode.
// Usage: bare_present_loop SCALE SECONDS   (SCALE 0: fullscreen)
#include "platform/sys/monotonic_clock.h"

#include <allegro.h>

#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bare_present_loop SCALE SECONDS\n");
    return 2;
  }
  int scale = std::atoi(argv[1]), seconds = std::atoi(argv[2]);
  if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0 ||
      install_keyboard() != 0)
    return 1;
  int w = 320 * scale, h = 240 * scale, card = GFX_AUTODETECT_WINDOWED;
  if (scale == 0) {
    card = GFX_AUTODETECT_FULLSCREEN;
    if (get_desktop_resolution(&w, &h) != 0) return 1;
  }
  set_window_title("bare present loop");
  if (set_gfx_mode(card, w, h, 0, 0) != 0) {
    std::fprintf(stderr, "bare_present_loop: %s\n", allegro_error);
    return 1;
  }
  int s = SCREEN_W / 320 < SCREEN_H / 240 ? SCREEN_W / 320 : SCREEN_H / 240;
  int x = (SCREEN_W - 320 * s) / 2, y = (SCREEN_H - 240 * s) / 2;
  BITMAP *frame = create_bitmap(320, 240);
  PALETTE palette;
  for (int i = 0; i < 256; ++i) palette[i] = RGB{static_cast<unsigned char>(i / 4), 20, 40, 0};
  set_palette(palette);
  timespec next;
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (int n = 0; n < 60 * seconds; ++n) {
    for (int row = 0; row < 240; ++row)
      for (int col = 0; col < 320; ++col) frame->line[row][col] = static_cast<unsigned char>(col + row + n);
    stretch_blit(frame, screen, 0, 0, 320, 240, x, y, 320 * s, 240 * s);
    next.tv_nsec += NS_PER_SECOND / 60;
    if (next.tv_nsec >= NS_PER_SECOND) {
      next.tv_nsec -= NS_PER_SECOND;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
  }
  destroy_bitmap(frame);
  return 0;
}
END_OF_MAIN()
