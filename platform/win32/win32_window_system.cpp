// The Windows window system of the real platform: the library's DirectDraw
// window, fullscreen as a borderless window over its monitor, the monitors
// as Windows lists them, and every wait on the 60 Hz grid of the
// performance counter (the library's vsync cannot be relied on: wine's
// returns at once). The library's window thread reads the input; nothing
// here can lose a connection.
#include "platform/window_system.h"

#include "platform/display/frame_pacer.h"
#include "platform/display/presenter.h"
#include "platform/sys/monotonic_clock.h"

#include <allegro.h>
// After allegro.h: the library's window.
#include <winalleg.h>

namespace {

FrameGrid grid;

// The library draws into a surface of its own and copies what changed to
// the window, and the whole surface again when Windows asks it to paint.
// A window shown after the copies (wine maps its window a moment after the
// mode is set) would stay black until something changed: the window is
// asked to paint at every wait for a second after a mode is set, and once
// a second after that, in case a paint was lost (a few milliseconds in a
// second).
constexpr long long REPAINT_EVERY_WAIT_FOR = NS_PER_SECOND;
constexpr long long REPAINT_EVERY = NS_PER_SECOND;
long long mode_set_at = 0, repainted_at = 0;

void repaint_now_and_then() {
  long long now = now_ns();
  if (now - mode_set_at > REPAINT_EVERY_WAIT_FOR && now - repainted_at < REPAINT_EVERY) return;
  if (HWND window = win_get_window()) InvalidateRect(window, nullptr, FALSE);
  repainted_at = now;
}

BOOL CALLBACK add_one(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT &r = info.rcMonitor;
    add_monitor(*reinterpret_cast<Monitors *>(list), {r.left, r.top, r.right - r.left, r.bottom - r.top},
                (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
  }
  return TRUE;
}

bool in_window() { return gfx_driver && is_windowed_mode() && win_get_window(); }

// The library's own style for its window, kept while the borderless one
// is on; 0 when the library's is on.
LONG_PTR library_style = 0;

// The borderless window covers the monitor, above the task bar; the mode
// set is the monitor's size, so the library draws all of it.
void cover_monitor(HWND window, const ScreenRect &monitor) {
  if (!library_style) library_style = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  SetWindowPos(window, HWND_TOP, monitor.x, monitor.y, monitor.w, monitor.h, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// The window's picture (its client area) goes where the display policy
// places it, centred on the game's monitor, as the library itself centres
// it and as the X11 backend does: the frame lies around it.
void place_client(HWND window, const WindowPlace &place) {
  RECT outer;
  POINT origin = {0, 0};
  if (!GetWindowRect(window, &outer) || !ClientToScreen(window, &origin)) return;
  int x = place.x - (origin.x - outer.left), y = place.y - (origin.y - outer.top);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::string window_system_preflight() { return {}; }
void window_system_before_library() {}
void window_system_after_library() {}

void window_system_check() {}
bool window_system_f11_held() { return (GetAsyncKeyState(VK_F11) & 0x8000) != 0; }

// The library's own thread takes the window's input.
void window_system_take_input() {}

int window_system_wait() {
  repaint_now_and_then();
  GridWait wait = grid_wait(grid, now_ns());
  sleep_until(wait.until);
  return wait.passed;
}

Monitors window_system_monitors() {
  Monitors monitors;
  EnumDisplayMonitors(nullptr, nullptr, add_one, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

bool window_system_pointer(int &x, int &y) {
  POINT at;
  if (!GetCursorPos(&at)) return false;
  x = at.x, y = at.y;
  return true;
}

bool window_system_window_centre(int &x, int &y) {
  RECT r;
  if (!in_window() || !GetWindowRect(win_get_window(), &r)) return false;
  x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  return true;
}

// The library sizes a window by its style: a window after fullscreen gets
// its frame back first.
void window_system_before_mode(const ModeTry &mode, const ModePlace &) {
  HWND window = win_get_window();
  if (mode.kind == ModeKind::FullscreenWindow || !library_style || !window) return;
  SetWindowLongPtrW(window, GWL_STYLE, library_style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  library_style = 0;
}

void window_system_mode_set(const ModeTry &mode, const ModePlace &place) {
  mode_set_at = now_ns();
  if (!in_window()) return;
  if (mode.kind == ModeKind::FullscreenWindow)
    cover_monitor(win_get_window(), place.monitor);
  else if (place.window.move)
    place_client(win_get_window(), place.window);
}

void window_system_mode_on(int &, int &) {}

void window_system_attach(const RGB *palette, const ScreenRect &area, int, int) {
  presenter_attach(screen, palette, area);
}

void window_system_fit(const RGB *, const ScreenRect &area, int, int) { presenter_fit(area); }
void window_system_detach() { presenter_detach(); }
bool window_system_window_resized(int &, int &) { return false; }
bool window_system_ask_focus_back() { return false; }

bool window_system_connection_lost() { return false; }
void window_system_release() {}
