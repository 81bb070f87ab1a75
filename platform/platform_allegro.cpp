// The real platform: Allegro's X11 display, timer, keyboard and sound drivers.
#include "platform/platform.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

volatile int close_pressed = 0;
// The preflight's connection stays open until the library has its own: an
// X server whose last client leaves resets itself, and a library connecting
// during that reset is refused.
Display *preflight_display = nullptr;
bool library_started = false;
DATAFILE *sound_bank = nullptr;

void on_close_button() { close_pressed = 1; }
END_OF_STATIC_FUNCTION(on_close_button)

// The X server went away (killed, or the connection dropped). Nothing can
// be drawn any more, and the library's own way out would talk to the dead
// server and crash; so leave at once, with a message and status 1.
int on_lost_display(Display *) {
  static const char message[] = "swarmfire: lost the connection to the X display; stopping\n";
  ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  (void)written;
  _exit(1);
}

void check_close() {
  if (close_pressed) throw QuitRequested{};
}

SAMPLE *bank_sample(int object) {
  if (!sound_bank || object < 0) return nullptr;
  for (int i = 0; i <= object; ++i)
    if (sound_bank[i].type == DAT_END) return nullptr;
  if (sound_bank[object].type != DAT_SAMPLE) return nullptr;
  return static_cast<SAMPLE *>(sound_bank[object].dat);
}

}  // namespace

std::string platform_preflight() {
  // Allegro's X11 system driver crashes inside install_timer when it cannot
  // reach a display, so find out first.
  const char *name = std::getenv("DISPLAY");
  if (!name || !*name)
    return "no X display: DISPLAY is not set; start swarmfire from a graphical "
           "session (or under Xvfb)";
  preflight_display = XOpenDisplay(nullptr);
  if (!preflight_display)
    return std::string("cannot open the X display \"") + name +
           "\"; check that the X server is running and that you may use it";
  return {};
}

std::string platform_start_up() {
  XSetIOErrorHandler(on_lost_display);
  // Without a system driver the library would crash in install_timer. A
  // connection refused while the server resets is worth another try.
  int attempts = 0;
  while (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
    if (++attempts == 5)
      return std::string("cannot start the display system: ") +
             (*allegro_error ? allegro_error : std::strerror(errno));
    usleep(200 * 1000);
  }
  library_started = true;
  // The library has its own connection now.
  if (preflight_display) XCloseDisplay(preflight_display);
  preflight_display = nullptr;
  install_timer();
  install_keyboard();
  // The library's Ctrl+Alt+End abort would end the game with a core dump;
  // the window's close button is the way out from anywhere.
  three_finger_flag = FALSE;
  install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
  LOCK_FUNCTION(on_close_button);
  LOCK_VARIABLE(close_pressed);
  set_window_title("Swarmfire");
  set_close_button_callback(on_close_button);
  return {};
}

void platform_shut_down() {
  if (!library_started) return;
  library_started = false;
  remove_sound();
  remove_keyboard();
  remove_timer();
  allegro_exit();
}

int platform_set_gfx_mode(int width, int height) {
  return set_gfx_mode(GFX_AUTODETECT, width, height, 0, 0);
}

std::string platform_last_error() { return allegro_error; }

BITMAP *platform_screen() { return screen; }
int platform_screen_width() { return SCREEN_W; }
int platform_screen_height() { return SCREEN_H; }
void platform_clear_screen() { clear(screen); }

void platform_vsync() {
  check_close();
  vsync();
}

void platform_present(BITMAP *frame) {
  platform_vsync();
  if (SCREEN_W == 320)
    blit(frame, screen, 0, 0, 0, 0, 320, 240);
  else
    stretch_blit(frame, screen, 0, 0, 320, 240, 0, 0, SCREEN_W, SCREEN_H);
}

void platform_set_palette(const RGB *palette) { set_palette(palette); }
void platform_set_desktop_palette() { set_palette(desktop_palette); }
void platform_fade_in(const RGB *palette, int speed) {
  check_close();
  fade_in(palette, speed);
}
void platform_fade_out(int speed) {
  check_close();
  fade_out(speed);
}

void platform_install_timer(void (*handler)()) {
  install_int_ex(handler, BPS_TO_TIMER(60));
}
void platform_remove_timer(void (*handler)()) { remove_int(handler); }

bool platform_key(int scancode) { return key[scancode] != 0; }
bool platform_keypressed() { return keypressed() != 0; }

int platform_readkey() {
  while (!keypressed()) platform_yield();
  return readkey();
}

void platform_clear_keybuf() { clear_keybuf(); }

void platform_yield() {
  check_close();
  rest(1);
}

void platform_set_sound_bank(DATAFILE *bank) { sound_bank = bank; }

void platform_play_sample(int object, int volume, int pan, int frequency, int loop) {
  if (SAMPLE *sample = bank_sample(object)) play_sample(sample, volume, pan, frequency, loop);
}

void platform_stop_sample(int object) {
  if (SAMPLE *sample = bank_sample(object)) stop_sample(sample);
}
