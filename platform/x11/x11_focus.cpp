#include "platform/x11/x11_focus.h"

#include "platform/x11/x11_screen.h"

#include <allegro.h>
// After allegro.h: the library's X state (_xwin: its windows).
#include <xalleg.h>

#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>

namespace {

// The source of a _NET_ACTIVE_WINDOW request: a normal application.
constexpr long SOURCE_APPLICATION = 1;

// The window's property of one 32-bit value of that type, or None.
unsigned long value_of(Display *display, Window window, const char *name, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, left = 0, value = None;
  unsigned char *data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, type, &actual, &format,
                         &count, &left, &data) == Success &&
      data && count == 1 && format == 32)
    value = *reinterpret_cast<unsigned long *>(data);
  if (data) XFree(data);
  return value;
}

// The running window manager's check window, which names itself; None
// when none runs (or one that ran left the root's property behind).
Window manager_window(Display *display) {
  Window check = value_of(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  return check != None && value_of(display, check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == check ? check : None;
}

bool manager_supports(Display *display, const char *name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char *data = nullptr;
  bool found = false;
  if (XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, "_NET_SUPPORTED", False), 0,
                         4096, False, XA_ATOM, &type, &format, &count, &left, &data) == Success &&
      data && format == 32) {
    Atom wanted = XInternAtom(display, name, False);
    for (unsigned long i = 0; i < count && !found; ++i) found = reinterpret_cast<Atom *>(data)[i] == wanted;
  }
  if (data) XFree(data);
  return found;
}

// Whether the two windows were made by the same client: the server gives
// each client its own range of ids, told apart by the bits outside the
// id mask.
bool same_client(Display *display, Window a, Window b) {
  unsigned long mask = xcb_get_setup(XGetXCBConnection(display))->resource_id_mask;
  return (a & ~mask) == (b & ~mask);
}

// Whether the focus is on the window or within it.
bool within(Display *display, Window focus, Window window) {
  for (Window w = focus; w != None && w != PointerRoot;) {
    if (w == window) return true;
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    if (w == root) return false;
    w = parent;
  }
  return false;
}

void ask_active(Display *display, Window window) {
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = SOURCE_APPLICATION;
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
}

}  // namespace

bool x11_ask_focus_back() {
  Display *display = x11_screen_display();
  Window game = _xwin.wm_window;
  if (!display || game == None) return false;
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  if (within(display, focus, game)) return true;
  Window manager = manager_window(display);
  bool nobody = focus == None || focus == PointerRoot || focus == DefaultRootWindow(display);
  if (!nobody && (manager == None || !same_client(display, focus, manager))) return false;
  if (manager != None && manager_supports(display, "_NET_ACTIVE_WINDOW"))
    ask_active(display, game);
  else
    XSetInputFocus(display, game, RevertToParent, CurrentTime);
  XFlush(display);
  return true;
}
