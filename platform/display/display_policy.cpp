#include "platform/display/display_policy.h"

#include <cstdio>

namespace {

const DisplayBackend *backend = nullptr;
DisplayRequest asked;  // as the player asked for it
ModeTry mode_on{};     // the mode on now
Monitors monitors;     // as the screen last listed them
int monitor_at = -1;   // the game's, in that list; -1: the whole screen

bool several_monitors() { return monitors.count > 1; }

// The game's monitor: the whole screen when the screen lists none.
ScreenRect display_monitor() {
  int w = 0, h = 0;
  if (backend) backend->screen_size(w, h);
  return monitor_rect(monitors, monitor_at, w, h);
}

ModeList modes_for(const DisplayRequest &request) {
  int w = 0, h = 0;
  backend->screen_size(w, h);
  return modes_to_try(request, display_monitor(), w, h);
}

bool set(const ModeTry &mode) {
  ScreenRect monitor = display_monitor();
  ModePlace place{window_place(mode, monitor), monitor, several_monitors() ? monitor_at : -1};
  return backend->set_mode(mode, place);
}

void turn_on(const ModeTry &mode) {
  mode_on = mode;
  int w = mode.width, h = mode.height;
  backend->mode_on(mode, w, h);
  backend->attach(picture_area(mode, display_monitor(), w, h), w, h);
}

// The first mode of the list, of the fullscreen kinds only when asked, that
// is set.
bool open_first(const ModeList &list, bool fullscreen_only) {
  const ModeTry *mode = first_mode_set(list, fullscreen_only, set);
  if (mode) turn_on(*mode);
  return mode != nullptr;
}

// A window asked at a scale the monitor cannot hold opens smaller, and the
// player is told (a recorded scale is fitted without a word).
void say_scale_lowered(const DisplayRequest &request) {
  ScreenRect monitor = display_monitor();
  int scale = window_scale(request, monitor);
  if (request.scale > 0 && !request.fit && scale < request.scale)
    std::fprintf(stderr, "swarmfire: --scale %d is larger than the %d x %d monitor; the window is at scale %d\n",
                 request.scale, monitor.w, monitor.h, scale);
}

}  // namespace

bool display_open(const DisplayBackend &chosen, const DisplayRequest &request) {
  backend = &chosen;
  asked = request;
  backend->detach();
  monitors = backend->monitors();
  int x = 0, y = 0;
  backend->pointer(x, y);
  monitor_at = starting_monitor(monitors, x, y);
  say_scale_lowered(request);
  return open_first(modes_for(request), false);
}

void display_switch() {
  if (!backend) return;
  ModeTry was = mode_on;
  DisplayRequest next = asked;
  next.fullscreen = !is_fullscreen(was.kind);
  ScreenRect monitor = display_monitor();
  int x = monitor.x + monitor.w / 2, y = monitor.y + monitor.h / 2;
  backend->window_centre(x, y);
  monitors = backend->monitors();
  monitor_at = monitor_holding(monitors, x, y);
  backend->detach();
  if (open_first(modes_for(next), next.fullscreen)) return;
  if (set(was)) {
    turn_on(was);
    return;
  }
  throw DisplayLost{"the display could not be set again after a refused switch: " + backend->last_error()};
}

void display_follow_window() {
  int w = 0, h = 0;
  if (!backend || !backend->window_resized(w, h)) return;
  backend->fit(picture_area(mode_on, display_monitor(), w, h), w, h);
}

const ModeTry &display_mode() { return mode_on; }
