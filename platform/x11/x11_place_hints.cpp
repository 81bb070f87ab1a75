#include "platform/x11/x11_place_hints.h"

#include "platform/sys/monotonic_clock.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace {

Window placed = None;
int place_x = 0, place_y = 0;

constexpr long long WITHDRAW_WAIT_NS = 300 * NS_PER_MS;

// Whether the window manager has let the unmapped window go: it is back on
// the root, out of the manager's frame. Until then a move is undone when
// the manager takes the window out of its frame. (mutter may leave its
// WM_STATE as it was.)
bool withdrawn(Display *display, Window window) {
  Window root = None, parent = None, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return true;
  if (children) XFree(children);
  return parent == root;
}

// The window moved to its place once the manager has let it go (not
// waiting past a moment for a manager that never does).
void move_when_withdrawn(Display *display, Window window) {
  long long until = now_ns() + WITHDRAW_WAIT_NS;
  while (!withdrawn(display, window) && now_ns() < until) sleep_until(now_ns() + 2 * NS_PER_MS);
  XMoveWindow(display, window, place_x, place_y);
}

}  // namespace

void x11_place_at_mapping(Window window, int x, int y) {
  placed = window;
  place_x = x, place_y = y;
}

void x11_no_place_hints() { placed = None; }

// Whether the window is unmapped, as the library leaves it to set a mode.
bool unmapped(Display *display, Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsUnmapped;
}

// Xlib's own does no more than write the property. The place is the
// program's (PPosition); some managers honour only a user's (USPosition),
// which a player starting the game on a monitor also gives. Hints written
// to the window on show say nothing of its place.
extern "C" void XSetWMNormalHints(Display *display, Window window, XSizeHints *hints) {
  XSizeHints with_place;
  if (hints && window == placed && placed != None && unmapped(display, window)) {
    move_when_withdrawn(display, window);
    with_place = *hints;
    with_place.flags |= PPosition | USPosition;
    with_place.x = place_x, with_place.y = place_y;
    hints = &with_place;
  }
  XSetWMSizeHints(display, window, hints, XA_WM_NORMAL_HINTS);
}
