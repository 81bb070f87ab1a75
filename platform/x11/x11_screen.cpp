#include "platform/x11/x11_screen.h"

#include "platform/x11/x11_window.h"

#include <allegro.h>
// After allegro.h: the library's X state (_xwin: its windows).
#include <xalleg.h>

#include <X11/extensions/Xrandr.h>

namespace {

Display *display = nullptr;
int known_w = 0, known_h = 0;  // the window's size as last seen

// Monitors came with version 1.5 of the extension.
bool server_lists_monitors() {
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  return XRRQueryExtension(display, &event_base, &error_base) && XRRQueryVersion(display, &major, &minor) &&
         (major > 1 || (major == 1 && minor >= 5));
}

}  // namespace

void x11_screen_use(Display *own) { display = own; }
Display *x11_screen_display() { return display; }
void x11_screen_release() { display = nullptr; }

Monitors x11_monitors() {
  Monitors monitors;
  if (!display || !server_lists_monitors()) return monitors;
  int count = 0;
  XRRMonitorInfo *info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
  for (int i = 0; i < count; ++i)
    add_monitor(monitors, {info[i].x, info[i].y, info[i].width, info[i].height}, info[i].primary);
  if (info) XRRFreeMonitors(info);
  return monitors;
}

bool x11_pointer(int &x, int &y) {
  if (!display) return false;
  Window root = None, child = None;
  int window_x = 0, window_y = 0;
  unsigned int buttons = 0;
  return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &window_x, &window_y,
                       &buttons);
}

bool x11_key_held(unsigned long keysym) {
  if (!display) return false;
  KeyCode code = XKeysymToKeycode(display, keysym);
  char keys[32] = {};
  XQueryKeymap(display, keys);
  return code && (keys[code / 8] & (1 << (code % 8)));
}

bool x11_window_centre(int &x, int &y) { return x11_centre_of(display, _xwin.wm_window, x, y, true); }

// Events queued before the size is asked for are older than its answer:
// they go.
void x11_window_follow(int &w, int &h) {
  known_w = w, known_h = h;
  Window window = _xwin.wm_window;
  if (!display || window == None) return;
  XSelectInput(display, window, StructureNotifyMask);
  XSync(display, True);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes)) known_w = attributes.width, known_h = attributes.height;
  w = known_w, h = known_h;
}

bool x11_window_resized(int &w, int &h) {
  if (!display) return false;
  bool resized = false;
  while (XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
    const XConfigureEvent &c = event.xconfigure;
    if (event.type != ConfigureNotify || c.window != _xwin.wm_window || (c.width == known_w && c.height == known_h))
      continue;
    known_w = c.width, known_h = c.height;
    resized = true;
  }
  w = known_w, h = known_h;
  return resized;
}

void x11_drawing_window_at(int x, int y) {
  if (!display || _xwin.window == None) return;
  XMoveWindow(display, _xwin.window, x, y);
  XFlush(display);
}
