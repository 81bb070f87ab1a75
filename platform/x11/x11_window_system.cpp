// The X11 window system of the real platform: the connection checked
// before the library opens its own, X errors survived, the window's
// identity, fullscreen as a window, the monitors (RandR), and the wait on
// the connection that paces every frame (x11_wait.h), with the library's
// background thread replaced by ours and the X input left to the main
// thread.
#include "platform/window_system.h"

#include "platform/display/presenter.h"
#include "platform/sys/background_thread.h"
#include "platform/sys/monotonic_clock.h"
#include "platform/x11/x11_errors.h"
#include "platform/x11/x11_focus.h"
#include "platform/x11/x11_fullscreen.h"
#include "platform/x11/x11_identity.h"
#include "platform/x11/x11_screen.h"
#include "platform/x11/x11_wait.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The preflight's connection stays open: an X server whose last client
// leaves resets itself, and a library connecting during that reset is
// refused; then it watches over the game's windows (x11_errors.h).
Display *preflight_display = nullptr;

// The library's own fullscreen draws in a window of its own over the
// screen; every other mode in the window that the window manager sees.
bool in_managed_window() { return gfx_driver && is_windowed_mode(); }

// The library draws at the mode's size in the window's top-left corner:
// centred in a window made larger.
void centre_drawing_window(int w, int h) {
  if (!in_managed_window()) return;
  const ModeTry &mode = display_mode();
  x11_drawing_window_at(std::max(0, (w - mode.width) / 2), std::max(0, (h - mode.height) / 2));
}

}  // namespace

std::string window_system_preflight() {
  // Allegro's X11 system driver crashes inside install_timer when it cannot
  // reach a display, so find out first.
  const char *name = std::getenv("DISPLAY");
  if (!name || !*name)
    return "no X display: DISPLAY is not set; start swarmfire from a graphical "
           "session (or under Xvfb)";
  // Right after an X server resets, the first connection may be refused:
  // a few brief tries before giving up.
  for (int attempt = 0; attempt < 5 && !preflight_display; ++attempt) {
    if (attempt) sleep_until(now_ns() + 100 * NS_PER_MS);
    preflight_display = XOpenDisplay(nullptr);
  }
  if (!preflight_display)
    return std::string("cannot open the X display \"") + name +
           "\"; check that the X server is running and that you may use it";
  return {};
}

void window_system_before_library() {
  x11_errors_install();
  x11_identity_before_library();
  if (!library_defaults_asked()) background_thread_take_over();
}

void window_system_after_library() {
  x11_screen_use(preflight_display);
  x11_errors_watch(preflight_display);
  preflight_display = nullptr;
  // Our thread leaves the X input to the main thread's waits.
  if (background_thread_running()) background_thread_leave_input();
  x11_wait_start(background_thread_running());
}

void window_system_check() { x11_errors_check(); }
bool window_system_f11_held() { return x11_key_held(XK_F11); }
int window_system_wait() { return x11_wait(); }
void window_system_take_input() { x11_take_input(); }

Monitors window_system_monitors() { return x11_monitors(); }
bool window_system_pointer(int &x, int &y) { return x11_pointer(x, y); }
bool window_system_window_centre(int &x, int &y) { return in_managed_window() && x11_window_centre(x, y); }

// Fullscreen as a window is asked of the window manager around the mode
// switch.
void window_system_before_mode(const ModeTry &mode, const ModePlace &place) {
  x11_fullscreen_before(mode.kind == ModeKind::FullscreenWindow, place.window);
}

void window_system_mode_set(const ModeTry &mode, const ModePlace &place) {
  if (mode.kind == ModeKind::FullscreenWindow)
    x11_fullscreen_shown(place.monitor, place.monitor_index);
  else if (in_managed_window())
    x11_plain_window_shown(place.monitor, place.window);
}

void window_system_mode_on(int &w, int &h) {
  x11_identity_after_mode();
  if (in_managed_window()) x11_window_follow(w, h);
}

void window_system_attach(const RGB *palette, const ScreenRect &area, int w, int h) {
  x11_wait_attach(screen, palette, area);
  centre_drawing_window(w, h);
}

// The display's own buffers hold one scale: they are made again.
void window_system_fit(const RGB *palette, const ScreenRect &area, int w, int h) {
  if (x11_wait_presents())
    x11_wait_attach(screen, palette, area);
  else
    presenter_fit(area);
  centre_drawing_window(w, h);
}

void window_system_detach() { x11_wait_detach(); }
bool window_system_window_resized(int &w, int &h) { return in_managed_window() && x11_window_resized(w, h); }
bool window_system_ask_focus_back() { return in_managed_window() && x11_ask_focus_back(); }

bool window_system_connection_lost() { return x11_errors_connection_lost(); }

void window_system_release() {
  x11_screen_release();
  x11_errors_release();
}
