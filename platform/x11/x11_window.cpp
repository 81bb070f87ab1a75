#include "platform/x11/x11_window.h"

#include <X11/Xatom.h>

bool x11_centre_of(Display *display, Window window, int &x, int &y, bool on_show_only) {
  XWindowAttributes a;
  if (!display || window == None || !XGetWindowAttributes(display, window, &a)) return false;
  if (on_show_only && a.map_state != IsViewable) return false;
  Window child = None;
  return XTranslateCoordinates(display, window, DefaultRootWindow(display), a.width / 2, a.height / 2, &x, &y,
                               &child);
}

// Format 32 properties travel as longs.
void x11_put_cardinals(Display *display, Window window, const char *property, const long *values, int count) {
  XChangeProperty(display, window, XInternAtom(display, property, False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(values), count);
}

void x11_put_atom(Display *display, Window window, const char *property, const char *value) {
  Atom atom = XInternAtom(display, value, False);
  XChangeProperty(display, window, XInternAtom(display, property, False), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(&atom), 1);
}
