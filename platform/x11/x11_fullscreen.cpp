#include "platform/x11/x11_fullscreen.h"

#include "platform/x11/x11_place_hints.h"
#include "platform/x11/x11_window.h"

#include <allegro.h>
// After allegro.h: the library's X state (_xwin: the connection and the
// managed window) and its lock, which its input thread holds while it reads
// events from the same connection.
#include <xalleg.h>

#include <X11/Xatom.h>

namespace {

// The window carries the fullscreen state and the other properties below.
bool state_put = false;

// The source of a _NET_WM_STATE request: a normal application.
constexpr long SOURCE_APPLICATION = 1;
constexpr long STATE_REMOVE = 0, STATE_ADD = 1;
// _MOTIF_WM_HINTS: the decorations field is set, and says none.
constexpr long MOTIF_DECORATIONS = 1L << 1;

Atom atom(const char *name) { return XInternAtom(_xwin.display, name, False); }

void put_no_decorations(Window w) {
  long hints[5] = {MOTIF_DECORATIONS, 0, 0, 0, 0};
  Atom motif = atom("_MOTIF_WM_HINTS");
  XChangeProperty(_xwin.display, w, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(hints), 5);
}

// A request about its mapped window that a client sends to the window
// manager.
void ask_manager(Window w, const char *message, const long (&data)[5]) {
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = atom(message);
  event.xclient.format = 32;
  for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
  XSendEvent(_xwin.display, DefaultRootWindow(_xwin.display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void ask_state(Window w, long action) {
  ask_manager(w, "_NET_WM_STATE",
              {action, static_cast<long>(atom("_NET_WM_STATE_FULLSCREEN")), 0, SOURCE_APPLICATION, 0});
}

// Fullscreen on that monitor alone: its index for the top, bottom, left and
// right edges. The index is the monitor's place in the RandR list, which
// the server's Xinerama answers in the same order.
void ask_monitor(Window w, long monitor) {
  ask_manager(w, "_NET_WM_FULLSCREEN_MONITORS", {monitor, monitor, monitor, monitor, SOURCE_APPLICATION});
}

// Whether a running window manager says it does what the atom names.
bool manager_supports(const char *name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char *data = nullptr;
  bool found = false;
  if (XGetWindowProperty(_xwin.display, DefaultRootWindow(_xwin.display), atom("_NET_SUPPORTED"), 0, 4096,
                         False, XA_ATOM, &type, &format, &count, &left, &data) == Success &&
      data && type == XA_ATOM && format == 32) {
    Atom wanted = atom(name);
    const Atom *supported = reinterpret_cast<const Atom *>(data);
    for (unsigned long i = 0; i < count && !found; ++i) found = supported[i] == wanted;
  }
  if (data) XFree(data);
  return found;
}

// The library fixes the window's size (minimum = maximum); a window manager
// asked to resize such a window to the monitor may refuse.
void unfix_size(Window w) {
  XSizeHints *hints = XAllocSizeHints();
  if (!hints) return;
  hints->flags = PMinSize | PBaseSize;
  hints->min_width = 320;
  hints->min_height = 240;
  hints->base_width = _xwin.window_width;
  hints->base_height = _xwin.window_height;
  XSetWMNormalHints(_xwin.display, w, hints);
  XFree(hints);
}

// Whether the window's centre lies on the monitor.
bool centred_on(Window w, const ScreenRect &monitor) {
  int x = 0, y = 0;
  if (!x11_centre_of(_xwin.display, w, x, y)) return true;
  return x >= monitor.x && x < monitor.x + monitor.w && y >= monitor.y && y < monitor.y + monitor.h;
}

void put_fullscreen_state(Window w) {
  x11_put_atom(_xwin.display, w, "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN");
  // A compositing desktop would add a frame of delay.
  const long bypass = 1;
  x11_put_cardinals(_xwin.display, w, "_NET_WM_BYPASS_COMPOSITOR", &bypass, 1);
  put_no_decorations(w);
  state_put = true;
}

void take_fullscreen_state(Window w) {
  ask_state(w, STATE_REMOVE);
  XDeleteProperty(_xwin.display, w, atom("_NET_WM_STATE"));
  XDeleteProperty(_xwin.display, w, atom("_NET_WM_BYPASS_COMPOSITOR"));
  XDeleteProperty(_xwin.display, w, atom("_MOTIF_WM_HINTS"));
  state_put = false;
}

}  // namespace

void x11_fullscreen_before(bool fullscreen, const WindowPlace &place) {
  XLOCK();
  Window w = _xwin.wm_window;
  if (_xwin.display && w != None) {
    if (fullscreen)
      put_fullscreen_state(w);
    else if (state_put)
      take_fullscreen_state(w);
    // Moved there between the library's unmapping and mapping, where the
    // window manager learns it from the size hints.
    if (place.move)
      x11_place_at_mapping(w, place.x, place.y);
    else
      x11_no_place_hints();
    XFlush(_xwin.display);
  }
  XUNLOCK();
}

void x11_fullscreen_shown(const ScreenRect &monitor, int index) {
  XLOCK();
  Window w = _xwin.wm_window;
  if (_xwin.display && w != None) {
    unfix_size(w);
    ask_state(w, STATE_ADD);
    if (!manager_supports("_NET_WM_STATE_FULLSCREEN")) {
      // A window manager that knows nothing of the request has placed the
      // window as it likes: over the monitor it goes, on top.
      XMoveWindow(_xwin.display, w, monitor.x, monitor.y);
      XRaiseWindow(_xwin.display, w);
    } else if (index >= 0 && manager_supports("_NET_WM_FULLSCREEN_MONITORS")) {
      ask_monitor(w, index);
    } else if (index >= 0 && !centred_on(w, monitor)) {
      // Its placement put the window on another monitor: out of
      // fullscreen, onto the game's monitor, and fullscreen there.
      ask_state(w, STATE_REMOVE);
      XMoveWindow(_xwin.display, w, monitor.x, monitor.y);
      ask_state(w, STATE_ADD);
    }
    XFlush(_xwin.display);
  }
  XUNLOCK();
}

void x11_plain_window_shown(const ScreenRect &monitor, const WindowPlace &place) {
  XLOCK();
  Window w = _xwin.wm_window;
  if (_xwin.display && w != None && place.move && !centred_on(w, monitor)) {
    XMoveWindow(_xwin.display, w, place.x, place.y);
    XFlush(_xwin.display);
  }
  XUNLOCK();
}
