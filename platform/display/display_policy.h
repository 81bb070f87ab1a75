// The display's policy, one for the real platform and its headless twin:
// the monitor the game is on, the modes it asks for and in which order
// (display_modes.h), F11 from the window to fullscreen and back, and the
// picture fitted again when a window manager gives the window another
// size. A backend only sets a mode, tells where the window and the pointer
// are, and puts the picture on what it set.
#pragma once

#include "platform/display/display_modes.h"
#include "platform/display/monitors.h"
#include "platform/platform.h"

#include <string>

// Where a mode's window goes, and the monitor it is for.
struct ModePlace {
  WindowPlace window;  // where the window goes before it is shown
  ScreenRect monitor;  // the game's monitor
  int monitor_index;   // its place in the screen's list when there are several; -1 on one
};

struct DisplayBackend {
  // The whole screen (0 x 0: unknown), and its monitors as listed now.
  void (*screen_size)(int &w, int &h);
  Monitors (*monitors)();
  // The pointer on the screen; false when that is not known.
  bool (*pointer)(int &x, int &y);
  // The centre of the game's window on the screen, where the window is one
  // a window manager placed (not the library's own fullscreen); false and
  // x, y untouched otherwise.
  bool (*window_centre)(int &x, int &y);
  // Sets the mode, its window so placed; false when it is refused.
  bool (*set_mode)(const ModeTry &mode, const ModePlace &place);
  // The mode is on: everything a new mode needs; w x h comes as the mode's
  // size and leaves as the size the window really got.
  void (*mode_on)(const ModeTry &mode, int &w, int &h);
  // The picture shown in `area` of the mode's display, a window of w x h;
  // `fit` the same when only the window's size changed.
  void (*attach)(const ScreenRect &area, int w, int h);
  void (*fit)(const ScreenRect &area, int w, int h);
  // Before a mode goes.
  void (*detach)();
  // True when the window has had another size since it was last asked;
  // w x h the newest.
  bool (*window_resized)(int &w, int &h);
  // The library's last error, for messages.
  std::string (*last_error)();
};

// Opens the display on the backend as requested: on the primary monitor,
// or else the pointer's, the first mode of modes_to_try that is set. False
// when none is.
bool display_open(const DisplayBackend &backend, const DisplayRequest &request);

// F11: fullscreen from the window, the window from fullscreen, on the
// monitor holding the window's centre (the library's own fullscreen keeps
// its monitor). A refused switch sets the mode that was on again; when
// that too is refused, DisplayLost.
void display_switch();

// At every wait: a window given another size shows the whole picture,
// fitted to it.
void display_follow_window();

// The mode on now.
const ModeTry &display_mode();
