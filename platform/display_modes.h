// Which video modes to ask for, in which order, and where the 320 x 240
// picture lands on a screen of a given size. Shared by the real platform and
// its headless twin.
#pragma once

#include "platform/platform.h"

#include <array>

// FullscreenWindow: the windowed driver at the desktop's size, which the
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

// The share of the desktop, in percent, that a window fitted to it may take.
constexpr int FITTING_PERCENT = 85;

// The largest whole scale whose 320s x 240s window fits within 85% of the
// desktop's width and height (1 at least); 2 when the desktop size is unknown
// (0 x 0).
int fitting_window_scale(int desktop_w, int desktop_h);

// Fullscreen first when asked (a window of the desktop's own size, then the
// library's fullscreen at that size), then the window at its scale (no
// larger than fits, when the request says so) and every smaller one, then
// the library's own choice at 320 x 240 and 640 x 480.
ModeList modes_to_try(const DisplayRequest &request, int desktop_w, int desktop_h);

// The first mode of the list, of the fullscreen kinds only when asked, that
// `set` takes (it sets the mode and says whether it did); nullptr when none.
const ModeTry *first_mode_set(const ModeList &list, bool fullscreen_only, bool (*set)(const ModeTry &));

// The largest whole scale at which 320 x 240 fits the screen, and the
// top-left corner that centres it.
struct Placement {
  int scale, x, y;
};
Placement place_picture(int screen_w, int screen_h);
