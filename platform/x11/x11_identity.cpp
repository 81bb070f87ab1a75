#include "platform/x11/x11_identity.h"

#include "platform/x11/x11_icon.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>
#include <unistd.h>

#include <climits>
#include <vector>

// The library's X11 icon: XPM text, read when it makes a window. Not in
// its headers; its manual names it.
extern "C" void *allegro_icon;

namespace {

Display *own_display = nullptr;
int (*handler_before)(Display *, XErrorEvent *) = nullptr;

// A window gone between the mode set and these calls is no fault worth
// stopping for: errors on this connection are ignored, those of others go
// to the handler that was in place.
int on_error(Display *display, XErrorEvent *error) {
  if (display == own_display) return 0;
  return handler_before ? handler_before(display, error) : 0;
}

void set_cardinals(Window window, const char *name, const long *values, int count) {
  Atom atom = XInternAtom(own_display, name, False);
  XChangeProperty(own_display, window, atom, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(values), count);
}

void set_client_machine(Window window) {
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return;
  char *names[] = {host};
  XTextProperty text;
  if (!XStringListToTextProperty(names, 1, &text)) return;
  XSetWMClientMachine(own_display, window, &text);
  XFree(text.value);
}

}  // namespace

void x11_identity_before_library() {
  xwin_set_window_name("swarmfire", "Swarmfire");
  allegro_icon = const_cast<char **>(window_icon_xpm);
}

// On a connection of our own: the library's belongs to its input thread.
void x11_identity_after_mode() {
  Window window = _xwin.wm_window ? _xwin.wm_window : _xwin.window;
  if (!window) return;
  own_display = XOpenDisplay(nullptr);
  if (!own_display) return;
  handler_before = XSetErrorHandler(on_error);
  // Format 32 properties travel as longs.
  static std::vector<long> icon(window_icon_cardinals, window_icon_cardinals + window_icon_cardinal_count);
  set_cardinals(window, "_NET_WM_ICON", icon.data(), static_cast<int>(icon.size()));
  long pid = getpid();
  set_cardinals(window, "_NET_WM_PID", &pid, 1);
  set_client_machine(window);
  XSync(own_display, False);
  XSetErrorHandler(handler_before);
  XCloseDisplay(own_display);
  own_display = nullptr;
}
