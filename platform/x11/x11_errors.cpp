#include "platform/x11/x11_errors.h"

#include "platform/platform.h"

#include <allegro.h>
#include <xalleg.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<Display *> library_display{nullptr};
std::atomic<Display *> watcher{nullptr};
std::atomic<bool> connection_lost{false};
std::atomic<bool> window_error{false};  // look at the windows at the next wait
int waits_since_look = 0;

constexpr int WAITS_BETWEEN_LOOKS = 60;

bool ours(Display *display) { return display == library_display || display == watcher; }

// Errors of the library's requests are not fatal; one about a window or a
// drawable may mean the window is gone, which the next wait finds out.
int on_error(Display *display, XErrorEvent *error) {
  if (display != watcher && (error->error_code == BadWindow || error->error_code == BadDrawable))
    window_error = true;
  return 0;
}

// The connection is dead. On our connections Xlib returns from here and
// from then on fails every call at once; the main thread stops at its
// next wait. A connection of another kind cannot be saved: leave at once.
int on_lost_connection(Display *display) {
  if (ours(display)) {
    connection_lost = true;
    return 0;
  }
  static const char message[] = "swarmfire: lost the connection to the X display; stopping\n";
  ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  (void)written;
  _exit(1);
}

// Instead of Xlib's exit(): the connection stays, in its failed state.
// Xlib calls the handlers holding the display's lock for threads
// (XLockDisplay) and, expecting no return, never gives it back: any other
// thread's next call on the connection (the library's input thread, or the
// main one drawing) would wait for ever. So it is given back here.
void keep_running(Display *display, void *) { XUnlockDisplay(display); }

bool window_exists(Display *display, Window window) {
  XWindowAttributes attributes;
  return window == 0 || XGetWindowAttributes(display, window, &attributes) != 0;
}

bool windows_exist() {
  Display *display = watcher;
  if (!display) return true;
  return window_exists(display, _xwin.window) && window_exists(display, _xwin.wm_window);
}

}  // namespace

void x11_errors_install() {
  XSetErrorHandler(on_error);
  XSetIOErrorHandler(on_lost_connection);
}

void x11_errors_watch(Display *own) {
  library_display = _xwin.display;
  if (_xwin.display) XSetIOErrorExitHandler(_xwin.display, keep_running, nullptr);
  watcher = own;
  if (own) XSetIOErrorExitHandler(own, keep_running, nullptr);
  waits_since_look = 0;
}

void x11_errors_check() {
  bool look = window_error.exchange(false) || ++waits_since_look >= WAITS_BETWEEN_LOOKS;
  bool gone = false;
  if (look && !connection_lost) {
    waits_since_look = 0;
    gone = !windows_exist();
  }
  // A killed connection takes its windows with it: which of the two it is.
  if (gone) x11_errors_connection_lost();
  if (connection_lost) throw QuitRequested{1, "lost the connection to the X display"};
  if (gone) throw QuitRequested{1, "the window was destroyed by another program"};
}

// A window destroyed and a connection killed (xkill) come together, and
// the window may be noticed first: whether the server has closed the
// library's connection is asked of its socket, without a request (Xlib,
// sending on a connection whose end it has not read yet, can crash), before
// the library's exit sends it anything.
bool x11_errors_connection_lost() {
  Display *display = library_display;
  if (!connection_lost && display) {
    pollfd socket{ConnectionNumber(display), POLLRDHUP, 0};
    if (poll(&socket, 1, 0) == 1 && (socket.revents & (POLLRDHUP | POLLHUP | POLLERR))) connection_lost = true;
  }
  return connection_lost;
}

// The watcher stays ours while it closes: closing a dead connection calls
// the handler once more, which must not take it for another's.
void x11_errors_release() {
  if (Display *own = watcher.load()) XCloseDisplay(own);
  watcher = nullptr;
  library_display = nullptr;
}
