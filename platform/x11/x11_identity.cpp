#include "platform/x11/x11_identity.h"

#include "platform/x11/x11_icon.h"
#include "platform/x11/x11_screen.h"
#include "platform/x11/x11_window.h"

#include <allegro.h>
#include <xalleg.h>
#include <unistd.h>

#include <climits>
#include <vector>

// The library's X11 icon: XPM text, read when it makes a window. Not in
// its headers; its manual names it.
extern "C" void *allegro_icon;

namespace {

void set_client_machine(Display *display, Window window) {
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) return;
  char *names[] = {host};
  XTextProperty text;
  if (!XStringListToTextProperty(names, 1, &text)) return;
  XSetWMClientMachine(display, window, &text);
  XFree(text.value);
}

// The library gives its window a name, class and icon at every mode set,
// making the icon's two pixmaps anew each time and never freeing them: a
// leak on every F11. They are given once for each window.
void (*library_window_defaults)() = nullptr;
Window identified_window = None;

void window_defaults_once() {
  if (_xwin.wm_window == None || _xwin.wm_window == identified_window) return;
  identified_window = _xwin.wm_window;
  if (library_window_defaults) library_window_defaults();
}

}  // namespace

void x11_identity_before_library() {
  xwin_set_window_name("swarmfire", "Swarmfire");
  allegro_icon = const_cast<char **>(window_icon_xpm);
  if (_xwin_window_defaultor != window_defaults_once) {
    library_window_defaults = _xwin_window_defaultor;
    _xwin_window_defaultor = window_defaults_once;
  }
}

// On our own connection (x11_screen.h), as the library's belongs to its
// input thread. A window gone between the mode set and these requests is
// no fault worth stopping for: errors on that connection are ignored
// (x11_errors.h).
void x11_identity_after_mode() {
  Window window = _xwin.wm_window ? _xwin.wm_window : _xwin.window;
  Display *display = x11_screen_display();
  if (!window || !display) return;
  static const std::vector<long> icon(window_icon_cardinals, window_icon_cardinals + window_icon_cardinal_count);
  x11_put_cardinals(display, window, "_NET_WM_ICON", icon.data(), static_cast<int>(icon.size()));
  long pid = getpid();
  x11_put_cardinals(display, window, "_NET_WM_PID", &pid, 1);
  set_client_machine(display, window);
  XSync(display, False);
}
