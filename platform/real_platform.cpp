// The real platform: the library's display, keyboard, timer and sound
// drivers, the display's policy (display/display_policy.h) over the window
// system (window_system.h), and the gamepads. Every wait paces a frame and
// fires the logic timer on the main thread.
#include "platform/platform.h"

#include "platform/display/display_policy.h"
#include "platform/display/presenter.h"
#include "platform/input/gamepad.h"
#include "platform/platform_ops.h"
#include "platform/shared/datafile_object.h"
#include "platform/sound/sound_start.h"
#include "platform/sys/monotonic_clock.h"
#include "platform/sys/stop_signals.h"
#include "platform/window_system.h"

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

// Set by the library's input thread, read by the main thread at its waits.
std::atomic<bool> close_pressed{false};
std::atomic<int> f11_presses{0};  // since the last wait
std::atomic<bool> f11_down{false};
std::atomic<bool> focus_gone{false};

// Right after a mode switch a window manager may keep the focus on a window
// of its own: asked back at once, that is no loss unless it stays away a
// while.
constexpr long long FOCUS_BACK_WAIT_NS = NS_PER_SECOND;
long long mode_on_at = 0;
bool focus_asked_back = false;

bool library_started = false;
DATAFILE *sound_bank = nullptr;

DisplayRequest asked;   // as the player asked for it
int desktop_w = 0, desktop_h = 0, desktop_depth = 8;  // the whole screen
PALETTE palette_on_show;  // for repaints, new modes and fades

// Without the focus the keys go to another window, the pads' too, unless
// the player asked to play on (--no-focus-pause).
bool listening() { return !focus_gone || !asked.focus_pause; }

bool just_switched() { return now_ns() - mode_on_at < FOCUS_BACK_WAIT_NS; }
bool focus_coming_back() { return focus_asked_back && just_switched(); }

void on_close_button() { close_pressed = true; }
void on_switch_out() { focus_gone = true; }
void on_switch_in() { focus_gone = false; }

// F11 belongs to the platform: acted on at the next wait, never seen by the
// game as a held key or a buffered press.
void on_key_event(int scancode) {
  if ((scancode & 0x7f) != KEY_F11) return;
  bool down = !(scancode & 0x80);
  if (down && !f11_down) ++f11_presses;
  f11_down = down;
}
int drop_f11(int k) { return (k >> 8) == KEY_F11 ? 0 : k; }

// A release of F11 that went to another window would keep every later
// press from counting: with no window manager to move the keyboard, it
// goes where the pointer is, and a switch can move the game's window from
// under it. So while F11 is taken as held, the window system is asked.
void forget_lost_f11_release() {
  if (f11_down && !window_system_f11_held()) f11_down = false;
}

void check_close() {
  if (close_pressed) throw QuitRequested{};
  window_system_check();
}

SAMPLE *bank_sample(int object) {
  const DATAFILE *sample = datafile_object(sound_bank, object, DAT_SAMPLE);
  return sample ? static_cast<SAMPLE *>(sample->dat) : nullptr;
}

// --- The display -------------------------------------------------------------

void screen_size(int &w, int &h) { w = desktop_w, h = desktop_h; }

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
// presenter), then at 8 bits (the library converts).
bool set_mode(const ModeTry &mode, const ModePlace &place) {
  window_system_before_mode(mode, place);
  bool set = (desktop_depth != 8 && set_mode_at_depth(mode, desktop_depth)) || set_mode_at_depth(mode, 8);
  if (set) window_system_mode_set(mode, place);
  return set;
}

void mode_on(const ModeTry &, int &w, int &h) {
  set_window_title("Swarmfire");
  set_close_button_callback(on_close_button);
  if (set_display_switch_mode(SWITCH_BACKGROUND) == 0 ||
      set_display_switch_mode(SWITCH_BACKAMNESIA) == 0) {
    set_display_switch_callback(SWITCH_OUT, on_switch_out);
    set_display_switch_callback(SWITCH_IN, on_switch_in);
  }
  focus_gone = false;
  focus_asked_back = false;
  mode_on_at = now_ns();
  set_palette_range(palette_on_show, 0, PAL_SIZE - 1, FALSE);
  window_system_mode_on(w, h);
}

void attach(const ScreenRect &area, int w, int h) { window_system_attach(palette_on_show, area, w, h); }
void fit(const ScreenRect &area, int w, int h) { window_system_fit(palette_on_show, area, w, h); }
std::string last_error() { return allegro_error; }

const DisplayBackend library_display = {
    .screen_size = screen_size,
    .monitors = window_system_monitors,
    .pointer = window_system_pointer,
    .window_centre = window_system_window_centre,
    .set_mode = set_mode,
    .mode_on = mode_on,
    .attach = attach,
    .fit = fit,
    .detach = window_system_detach,
    .window_resized = window_system_window_resized,
    .last_error = last_error,
};

// --- The waits -------------------------------------------------------------

// The close button, every F11 pressed since, and the window's size.
void before_waiting() {
  check_close();
  forget_lost_f11_release();
  // Presses come faster than a switch is made: each one counts, and an
  // even number leaves the mode as it is.
  if (f11_presses.exchange(0) % 2) {
    display_switch();
    // The switch maps the window again: the release of the F11 that asked
    // for it went elsewhere meanwhile, and a press already queued behind
    // the switch must count.
    forget_lost_f11_release();
  }
  display_follow_window();
}

// Every wait: the above, then the next deadline. Returns the ticks of the
// logic timer passed.
int wait_for_deadline() {
  before_waiting();
  int passed = window_system_wait();
  if (focus_gone && !focus_asked_back && just_switched()) focus_asked_back = window_system_ask_focus_back();
  gamepad_poll(listening());
  return passed;
}

void between_waits() {
  before_waiting();
  window_system_take_input();
  gamepad_poll(listening());
}

void show_palette(const RGB *palette) {
  std::memcpy(palette_on_show, palette, sizeof palette_on_show);
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

std::string start_up() {
  window_system_before_library();
  // Without a system driver the library would crash in install_timer. A
  // connection refused while the display's server resets is worth another
  // try.
  int attempts = 0;
  while (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0) {
    if (++attempts == 5)
      return std::string("cannot start the display system: ") +
             (*allegro_error ? allegro_error : std::strerror(errno));
    sleep_until(now_ns() + 200 * NS_PER_MS);
  }
  library_started = true;
  // In place of the library's handlers, which end the process at once.
  stop_signals_install();
  window_system_after_library();
  // The game keeps its own time; no library timer is installed up front,
  // since the library's timer thread wakes every 27 ms even with no timer
  // in its queue. Whatever needs one (a sound driver's callback, a key
  // repeat the library emulates) installs it itself.
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
  std::memcpy(palette_on_show, black_palette, sizeof palette_on_show);
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
  if (window_system_connection_lost()) {
    // The dead connection takes no request any more (Xlib's calls would
    // crash): the library is left as it is, and so are its exit handlers
    // (platform_exit).
    presenter_release();
    remove_sound();
    platform_leave_library_at_exit();
    return;
  }
  window_system_detach();
  presenter_release();
  remove_sound();
  remove_keyboard();
  remove_timer();
  allegro_exit();
  window_system_release();
}

int open_display(const DisplayRequest &request) {
  asked = request;
  if (!presenter_picture()) {
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "no memory for the 320x240 picture");
    return -1;
  }
  return display_open(library_display, request) ? 0 : -1;
}

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
  std::memcpy(from, palette_on_show, sizeof from);
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
bool focus_lost() { return (focus_gone && asked.focus_pause && !focus_coming_back()) || gamepad_take_loss(); }

void set_sound_bank(DATAFILE *bank) { sound_bank = bank; }

void play(int object, int volume, int pan, int frequency, int loop) {
  if (SAMPLE *sample = bank_sample(object)) play_sample(sample, volume, pan, frequency, loop);
}

void stop(int object) {
  if (SAMPLE *sample = bank_sample(object)) stop_sample(sample);
}

const PlatformOps display_platform = {
    .preflight = window_system_preflight,
    .start_up = start_up,
    .shut_down = shut_down,
    .open_display = open_display,
    .last_error = last_error,
    .present = present,
    .yield = yield,
    .key_wait = key_wait,
    .vsync = wait_retrace,
    .between_waits = between_waits,
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
