// The real platform: Allegro's X11 display, keyboard and sound drivers, and
// the waits on the display (x11_wait.h) that pace every frame and fire
// the logic timer on the main thread.
#include "platform/platform.h"

#include "platform/sys/background_thread.h"
#include "platform/shared/datafile_object.h"
#include "platform/display/display_modes.h"
#include "platform/x11/x11_wait.h"
#include "platform/x11/x11_fullscreen.h"
#include "platform/input/gamepad.h"
#include "platform/platform_ops.h"
#include "platform/display/presenter.h"
#include "platform/sound/sound_start.h"
#include "platform/sys/stop_signals.h"
#include "platform/x11/x11_identity.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_screen.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Set by the library's input thread, read by the main thread at its waits.
std::atomic<bool> close_pressed{false};
std::atomic<bool> switch_asked{false};  // F11 went down
std::atomic<bool> f11_down{false};
std::atomic<bool> focus_gone{false};

// The preflight's connection stays open: an X server whose last client
// leaves resets itself, and a library connecting during that reset is
// refused; then it watches over the game's windows (x_errors.h).
Display *preflight_display = nullptr;
bool library_started = false;
DATAFILE *sound_bank = nullptr;

DisplayRequest asked;       // the window scale the player asked for
ModeTry shown{};            // the mode on now
int desktop_w = 0, desktop_h = 0, desktop_depth = 8;  // the whole X screen
Monitors monitors;          // as the server last listed them
int monitor_on = -1;        // the game's, in that list; -1: the whole screen
PALETTE shown_palette;      // the palette on show, for repaints and fades

// Without the focus the keys go to another window, the pads' too, unless
// the player asked to play on (--no-focus-pause).
bool listening() { return !focus_gone || !asked.focus_pause; }

void on_close_button() { close_pressed = true; }
void on_switch_out() { focus_gone = true; }
void on_switch_in() { focus_gone = false; }

// F11 belongs to the platform: acted on at the next wait, never seen by the
// game as a held key or a buffered press.
void on_key_event(int scancode) {
  if ((scancode & 0x7f) != KEY_F11) return;
  bool down = !(scancode & 0x80);
  if (down && !f11_down) switch_asked = true;
  f11_down = down;
}
int drop_f11(int k) { return (k >> 8) == KEY_F11 ? 0 : k; }

// A release of F11 that went to another window would keep every later
// press from counting: with no window manager to move the keyboard, it
// goes where the pointer is, and a switch can move the game's window from
// under it. So while F11 is taken as held, the server is asked.
void forget_lost_f11_release() {
  if (f11_down && !x11_key_held(XK_F11)) f11_down = false;
}

void check_close() {
  if (close_pressed) throw QuitRequested{};
  x11_errors_check();
}

SAMPLE *bank_sample(int object) {
  const DATAFILE *sample = datafile_object(sound_bank, object, DAT_SAMPLE);
  return sample ? static_cast<SAMPLE *>(sample->dat) : nullptr;
}

// --- Monitors --------------------------------------------------------------

ScreenRect game_monitor() { return monitor_rect(monitors, monitor_on, desktop_w, desktop_h); }
bool several_monitors() { return monitors.count > 1; }

// At the opening: the primary monitor, or else the pointer's.
void choose_starting_monitor() {
  monitors = x11_monitors();
  int x = 0, y = 0;
  x11_pointer(x, y);
  monitor_on = starting_monitor(monitors, x, y);
}

// The library's own fullscreen draws in a window of its own over the
// screen; every other mode in the window that the window manager sees.
bool in_managed_window() { return gfx_driver && is_windowed_mode(); }

// At a switch: the monitor holding the window's centre; the library's own
// fullscreen stays on its monitor.
void choose_window_monitor() {
  ScreenRect was = game_monitor();
  int x = was.x + was.w / 2, y = was.y + was.h / 2;
  if (in_managed_window()) x11_window_centre(x, y);
  monitors = x11_monitors();
  monitor_on = monitor_holding(monitors, x, y);
}

// The library draws at the mode's size in the window's top-left corner:
// centred in a window made larger.
void centre_drawing_window(int w, int h) {
  if (!in_managed_window()) return;
  x11_drawing_window_at(std::max(0, (w - shown.width) / 2), std::max(0, (h - shown.height) / 2));
}

// A window manager gave the window another size: the picture is fitted to
// what the window shows.
void follow_window_size() {
  int w = 0, h = 0;
  if (!in_managed_window() || !x11_window_resized(w, h)) return;
  ScreenRect area = picture_area(shown, game_monitor(), w, h);
  // The display's own buffers hold one scale: they are made again.
  if (x11_wait_presents())
    x11_wait_attach(screen, shown_palette, area);
  else
    presenter_fit(area);
  centre_drawing_window(w, h);
}

// --- Display modes ---------------------------------------------------------

bool set_mode_at_depth(const ModeTry &mode, int depth) {
  int card = mode.kind == ModeKind::Fullscreen ? GFX_AUTODETECT_FULLSCREEN
             : mode.kind == ModeKind::Any      ? GFX_AUTODETECT
                                               : GFX_AUTODETECT_WINDOWED;
  set_color_depth(depth);
  int result = set_gfx_mode(card, mode.width, mode.height, 0, 0);
  // Everything the game creates stays 8-bit, whatever the screen is.
  set_color_depth(8);
  return result == 0;
}

// At the desktop's depth first (the picture is converted once, by the
// presenter), then at 8 bits (the library converts). Fullscreen as a window
// is asked of the window manager around the mode switch.
bool set_mode(const ModeTry &mode) {
  bool as_window = mode.kind == ModeKind::FullscreenWindow;
  WindowPlace place = window_place(mode, game_monitor(), several_monitors());
  x11_fullscreen_before(as_window, place);
  bool set = (desktop_depth != 8 && set_mode_at_depth(mode, desktop_depth)) || set_mode_at_depth(mode, 8);
  if (set && as_window)
    x11_fullscreen_shown(game_monitor(), several_monitors() ? monitor_on : -1);
  else if (set && in_managed_window())
    x11_plain_window_shown(game_monitor(), place);
  return set;
}

void after_mode_set(const ModeTry &mode) {
  shown = mode;
  set_window_title("Swarmfire");
  set_close_button_callback(on_close_button);
  if (set_display_switch_mode(SWITCH_BACKGROUND) == 0 ||
      set_display_switch_mode(SWITCH_BACKAMNESIA) == 0) {
    set_display_switch_callback(SWITCH_OUT, on_switch_out);
    set_display_switch_callback(SWITCH_IN, on_switch_in);
  }
  focus_gone = false;
  x11_identity_after_mode();
  set_palette_range(shown_palette, 0, PAL_SIZE - 1, FALSE);
  int w = mode.width, h = mode.height;
  if (in_managed_window()) x11_window_follow(w, h);
  x11_wait_attach(screen, shown_palette, picture_area(mode, game_monitor(), w, h));
  centre_drawing_window(w, h);
}

// The first mode of the list, of the given kinds only, that the library
// accepts.
bool open_first(const ModeList &list, bool fullscreen_only) {
  const ModeTry *mode = first_mode_set(list, fullscreen_only, set_mode);
  if (mode) after_mode_set(*mode);
  return mode != nullptr;
}

// F11: fullscreen from the window, the window from fullscreen. A refused
// switch sets the mode that was on again.
void switch_display() {
  ModeTry was = shown;
  DisplayRequest next = asked;
  next.fullscreen = !is_fullscreen(was.kind);
  choose_window_monitor();
  x11_wait_detach();
  if (open_first(modes_to_try(next, game_monitor(), desktop_w, desktop_h), next.fullscreen)) return;
  if (set_mode(was)) {
    after_mode_set(was);
    return;
  }
  throw DisplayLost{std::string("the display could not be set again after a refused switch: ") +
                    allegro_error};
}

// --- The waits -------------------------------------------------------------

// Every wait: the close button, F11, then the next deadline. Returns the
// ticks of the logic timer passed.
int wait_for_deadline() {
  check_close();
  forget_lost_f11_release();
  if (switch_asked.exchange(false)) switch_display();
  follow_window_size();
  int passed = x11_wait();
  gamepad_poll(listening());
  return passed;
}

void show_palette(const RGB *palette) {
  std::memcpy(shown_palette, palette, sizeof shown_palette);
  set_palette_range(palette, 0, PAL_SIZE - 1, FALSE);
  presenter_set_palette(palette);
}

// The library's fade timing (its step is speed / 2 per retrace), one step
// per deadline.
void fade(const RGB *from, const RGB *to, int speed) {
  PALETTE source, step;
  std::memcpy(source, from, sizeof source);
  for (int k = 1; k * speed / 2 < 64; ++k) {
    fade_interpolate(source, to, step, k * speed / 2, 0, PAL_SIZE - 1);
    wait_for_deadline();
    show_palette(step);
  }
  wait_for_deadline();
  show_palette(to);
}

std::string preflight() {
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

std::string start_up() {
  x11_errors_install();
  x11_identity_before_library();
  // Without a system driver the library would crash in install_timer. A
  // connection refused while the server resets is worth another try.
  int attempts = 0;
  if (!library_defaults_asked()) background_thread_take_over();
  while (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
    if (++attempts == 5)
      return std::string("cannot start the display system: ") +
             (*allegro_error ? allegro_error : std::strerror(errno));
    usleep(200 * 1000);
  }
  library_started = true;
  // In place of the library's handlers, which end the process at once.
  stop_signals_install();
  x11_screen_use(preflight_display);
  x11_errors_watch(preflight_display);
  preflight_display = nullptr;
  // Our thread leaves the X input to the main thread's waits.
  if (background_thread_running()) background_thread_leave_input();
  x11_wait_start(background_thread_running());
  if (install_timer() != 0) return std::string("cannot start the timer: ") + allegro_error;
  if (install_keyboard() != 0) return std::string("cannot start the keyboard: ") + allegro_error;
  // The library's Ctrl+Alt+End abort would end the game with a core dump;
  // the window's close button is the way out from anywhere.
  three_finger_flag = FALSE;
  keyboard_lowlevel_callback = on_key_event;
  keyboard_callback = drop_f11;
  gamepad_start();
  start_sound();
  if (get_desktop_resolution(&desktop_w, &desktop_h) != 0) desktop_w = desktop_h = 0;
  int depth = desktop_color_depth();
  desktop_depth = depth == 15 || depth == 16 || depth == 24 || depth == 32 ? depth : 8;
  std::memcpy(shown_palette, black_palette, sizeof shown_palette);
  set_window_title("Swarmfire");
  set_close_button_callback(on_close_button);
  return {};
}

void shut_down() {
  if (!library_started) return;
  library_started = false;
  keyboard_lowlevel_callback = nullptr;
  keyboard_callback = nullptr;
  gamepad_stop();
  if (x11_errors_connection_lost()) {
    // Xlib takes no request on the dead connection any more (its calls
    // would crash): the library is left as it is, and so are its exit
    // handlers (platform_exit).
    presenter_release();
    remove_sound();
    platform_leave_library_at_exit();
    return;
  }
  x11_wait_detach();
  presenter_release();
  remove_sound();
  remove_keyboard();
  remove_timer();
  allegro_exit();
  x11_screen_release();
  x11_errors_release();
}

int open_display(const DisplayRequest &request) {
  asked = request;
  x11_wait_detach();
  if (!presenter_picture()) {
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "no memory for the 320x240 picture");
    return -1;
  }
  choose_starting_monitor();
  return open_first(modes_to_try(request, game_monitor(), desktop_w, desktop_h), false) ? 0 : -1;
}

std::string last_error() { return allegro_error; }

void wait_retrace() { wait_for_deadline(); }

// The frame goes first, for the refresh the last wait aimed at; then the
// wait for the next one.
void present(BITMAP *frame) {
  presenter_show(frame);
  platform_ticks_due(Wait::Present, wait_for_deadline());
}

void yield() { platform_ticks_due(Wait::Yield, wait_for_deadline()); }
void key_wait() { platform_ticks_due(Wait::KeyWait, wait_for_deadline()); }

void fade_from_black(const RGB *palette, int speed) { fade(black_palette, palette, speed); }
void fade_to_black(int speed) {
  PALETTE from;
  std::memcpy(from, shown_palette, sizeof from);
  fade(from, black_palette, speed);
}

bool key_held(int scancode) { return key[scancode] || (listening() && gamepad_holds(scancode)); }
bool key_pressed() { return keypressed() || gamepad_keypressed(); }
int read_key() { return keypressed() ? readkey() : gamepad_readkey(); }
void clear_key_buffer() {
  clear_keybuf();
  gamepad_clear_presses();
}
// A pad going away pauses the game as a lost focus does.
bool focus_lost() { return (focus_gone && asked.focus_pause) || gamepad_take_loss(); }

void set_sound_bank(DATAFILE *bank) { sound_bank = bank; }

void play(int object, int volume, int pan, int frequency, int loop) {
  if (SAMPLE *sample = bank_sample(object)) play_sample(sample, volume, pan, frequency, loop);
}

void stop(int object) {
  if (SAMPLE *sample = bank_sample(object)) stop_sample(sample);
}

const PlatformOps display_platform = {
    .preflight = preflight,
    .start_up = start_up,
    .shut_down = shut_down,
    .open_display = open_display,
    .last_error = last_error,
    .present = present,
    .yield = yield,
    .key_wait = key_wait,
    .vsync = wait_retrace,
    .fade_in = fade_from_black,
    .fade_out = fade_to_black,
    .set_palette = show_palette,
    .key = key_held,
    .keypressed = key_pressed,
    .readkey = read_key,
    .clear_keybuf = clear_key_buffer,
    .focus_lost = focus_lost,
    .set_sound_bank = set_sound_bank,
    .play_sample = play,
    .stop_sample = stop,
};

}  // namespace

void platform_use_display() { platform_use(display_platform); }
