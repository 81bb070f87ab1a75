// Which video modes to ask for, in which order, where their window goes on
// the game's monitor, and where the 320 x 240 picture lands on it. Shared
// by the real platform and its headless twin.
#pragma once

#include "platform/display/monitors.h"
#include "platform/platform.h"

#include <array>

// FullscreenWindow: the windowed driver at the monitor's size, which the
// window manager is asked to show fullscreen (no grab, no mode switch);
// Fullscreen: the library's own fullscreen driver, which grabs the keyboard
// and the pointer, only when such a window is refused.
enum class ModeKind { Window, FullscreenWindow, Fullscreen, Any };

inline bool is_fullscreen(ModeKind kind) {
  return kind == ModeKind::FullscreenWindow || kind == ModeKind::Fullscreen;
}

struct ModeTry {
  ModeKind kind;
  int width, height;
};

struct ModeList {
  std::array<ModeTry, MAX_WINDOW_SCALE + 5> tries;
  int count = 0;
};

// The share of the monitor, in percent, that a window fitted to it may take.
constexpr int FITTING_PERCENT = 85;

// The window's scale: the one asked for, lowered to the largest whose
// window the monitor holds (and to the fitting one when the request says
// so); without one asked, the largest that fits within FITTING_PERCENT.
int window_scale(const DisplayRequest &request, const ScreenRect &monitor);

// Fullscreen first when asked (a window of the monitor's size, then the
// library's fullscreen at the screen's size, where the video mode stays),
// then the window at its scale (window_scale) and every smaller one, then
// the library's own choice at 320 x 240 and 640 x 480.
ModeList modes_to_try(const DisplayRequest &request, const ScreenRect &monitor, int screen_w, int screen_h);

// Where the window of a mode goes before it is shown. Fullscreen as a
// window covers its monitor from the monitor's corner (the library's own
// places its own window). A window is centred on its monitor, its top-left
// corner kept on the monitor.
struct WindowPlace {
  bool move;
  int x, y;
};
WindowPlace window_place(const ModeTry &mode, const ScreenRect &monitor);

// The part of the mode's display where the picture may lie. The library's
// fullscreen covers the whole screen: the monitor's part of it. A window
// shows its display from the top-left corner at the size the window really
// got, which a window manager may have made smaller than the mode's.
ScreenRect picture_area(const ModeTry &mode, const ScreenRect &monitor, int window_w, int window_h);

// The first mode of the list, of the fullscreen kinds only when asked, that
// `set` takes (it sets the mode and says whether it did); nullptr when none.
const ModeTry *first_mode_set(const ModeList &list, bool fullscreen_only, bool (*set)(const ModeTry &));

// The largest whole scale at which 320 x 240 fits the area, and the
// top-left corner that centres it there.
struct Placement {
  int scale, x, y;
};
Placement place_picture(const ScreenRect &area);
