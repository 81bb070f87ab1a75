// The headless twin of the platform seam: memory bitmaps instead of a
// display, a timer fired by the caller, scripted keys and recorded samples.
#include "platform/display/display_policy.h"
#include "platform/display/presenter.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/platform_ops.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

HeadlessTwin headless_twin;

namespace {

HeadlessTwin &twin = headless_twin;
int fitted_w = 0, fitted_h = 0;  // the window's size the picture was placed for

bool refused(const ModeTry &mode) {
  if (is_fullscreen(mode.kind) && twin.refuse_fullscreen) return true;
  if (mode.kind == ModeKind::FullscreenWindow && twin.refuse_fullscreen_window) return true;
  for (auto [w, h] : twin.refused)
    if (w == mode.width && h == mode.height) return true;
  return false;
}

// The twin's display, as the real platform's backend is: a memory bitmap of
// the mode's size, a window where the policy places it, and the size a test
// gives the window as a window manager would.
void screen_size(int &w, int &h) { w = twin.desktop_w, h = twin.desktop_h; }
Monitors monitors() { return twin.monitors; }

bool pointer(int &x, int &y) {
  x = twin.pointer_x, y = twin.pointer_y;
  return true;
}

bool window_centre(int &x, int &y) {
  if (display_mode().kind == ModeKind::Fullscreen) return false;
  x = twin.window_x + twin.window_w / 2, y = twin.window_y + twin.window_h / 2;
  return true;
}

bool set_mode(const ModeTry &mode, const ModePlace &place) {
  if (refused(mode)) return false;
  if (twin.display) destroy_bitmap(twin.display);
  twin.display = create_bitmap(mode.width, mode.height);
  twin.fullscreen = is_fullscreen(mode.kind);
  twin.fullscreen_window = mode.kind == ModeKind::FullscreenWindow;
  if (place.window.move) twin.window_x = place.window.x, twin.window_y = place.window.y;
  return true;
}

void mode_on(const ModeTry &, int &w, int &h) {
  twin.window_w = fitted_w = w;
  twin.window_h = fitted_h = h;
}

void attach(const ScreenRect &area, int, int) {
  PALETTE palette;
  get_palette(palette);
  presenter_attach(twin.display, palette, area);
}

void fit(const ScreenRect &area, int, int) { presenter_fit(area); }

bool window_resized(int &w, int &h) {
  if (display_mode().kind == ModeKind::Fullscreen || (twin.window_w == fitted_w && twin.window_h == fitted_h))
    return false;
  w = fitted_w = twin.window_w, h = fitted_h = twin.window_h;
  return true;
}

std::string display_error() { return twin.error; }

const DisplayBackend twin_display = {
    .screen_size = screen_size,
    .monitors = monitors,
    .pointer = pointer,
    .window_centre = window_centre,
    .set_mode = set_mode,
    .mode_on = mode_on,
    .attach = attach,
    .fit = fit,
    .detach = presenter_detach,
    .window_resized = window_resized,
    .last_error = display_error,
};

// Every wait starts as the real platform's do: the close button, F11, then
// the window's size.
void begin_wait() {
  if (twin.close) throw QuitRequested{};
  // Each F11 counts; an even number leaves the mode as it is.
  if (twin.switch_asked % 2) display_switch();
  twin.switch_asked = 0;
  display_follow_window();
}

void call_hook(Wait kind) {
  ++twin.count;
  if (twin.count > twin.limit) throw headless::Timeout{};
  if (twin.hook) twin.hook(headless::Event{kind, twin.frames, twin.count});
}

}  // namespace

void headless::init_library() {
  if (twin.library) return;
  install_allegro(SYSTEM_NONE, &errno, atexit);
  set_color_depth(8);
  twin.library = true;
}

namespace {

std::string preflight() { return {}; }

std::string start_up() {
  headless::init_library();
  if (twin.refuse_start) return "cannot start the display, timer and keyboard drivers: headless";
  twin.started = true;
  return {};
}

void shut_down() {
  twin.started = false;
  ++twin.shut_downs;
}

int open_display(const DisplayRequest &request) {
  twin.asked = request;
  if (!presenter_picture()) {
    twin.error = "no memory for the 320x240 picture";
    return -1;
  }
  return display_open(twin_display, request) ? 0 : -1;
}

std::string last_error() { return twin.error; }

void present(BITMAP *frame) {
  begin_wait();
  presenter_show(frame);
  ++twin.frames;
  platform_ticks_due(Wait::Present, twin.ticks_per_frame);
  call_hook(Wait::Present);
}

void yield() {
  begin_wait();
  platform_ticks_due(Wait::Yield, twin.ticks_per_yield);
  call_hook(Wait::Yield);
}

// The key buffer fills only from a hook, so a loop waiting for a key lets
// one run at each wait; no ticks fire.
void key_wait() {
  begin_wait();
  platform_ticks_due(Wait::KeyWait, 0);
  call_hook(Wait::KeyWait);
}

// Input that comes during a seek comes from the hook here.
void between_waits() {
  if (twin.between_hook) twin.between_hook();
  begin_wait();
}

void wait_retrace() {
  begin_wait();
  call_hook(Wait::Vsync);
}

void set_palette_counted(const RGB *palette) {
  ++twin.palette_sets;
  set_palette(palette);
}

void fade_from_black(const RGB *palette, int) {
  begin_wait();
  ++twin.fades_in;
  set_palette(palette);
  call_hook(Wait::FadeIn);
}

void fade_to_black(int) {
  begin_wait();
  ++twin.fades_out;
  set_palette(black_palette);
  call_hook(Wait::FadeOut);
}

bool key_held(int scancode) {
  return (twin.focus || !twin.asked.focus_pause) && scancode > 0 && scancode < KEY_MAX && twin.held[scancode];
}

bool key_pressed() { return !twin.buffer.empty(); }

int read_key() {
  if (twin.buffer.empty()) return 0;
  int k = twin.buffer.front();
  twin.buffer.pop_front();
  return k;
}

void clear_key_buffer() { twin.buffer.clear(); }

bool focus_lost() { return !twin.focus && twin.asked.focus_pause; }

void set_sound_bank(DATAFILE *) {}

void play(int object, int volume, int pan, int frequency, int loop) {
  if (twin.keep_samples) twin.samples.push_back({object, volume, pan, frequency, loop, false, twin.frames});
}

void stop(int object) {
  if (twin.keep_samples) twin.samples.push_back({object, 0, 0, 0, 0, true, twin.frames});
}

}  // namespace

const PlatformOps headless_platform = {
    .preflight = preflight,
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
    .set_palette = set_palette_counted,
    .key = key_held,
    .keypressed = key_pressed,
    .readkey = read_key,
    .clear_keybuf = clear_key_buffer,
    .focus_lost = focus_lost,
    .set_sound_bank = set_sound_bank,
    .play_sample = play,
    .stop_sample = stop,
};

void platform_use_headless() {
  platform_use(headless_platform);
  twin.keep_samples = false;
  twin.limit = std::numeric_limits<long>::max();
  // Nobody looks at its display: the logical screen is kept, and no more.
  presenter_hold(true);
}
