// Tries, as another client, to grab the keyboard and the pointer on the root
// window, as a desktop's shortcuts and menus do; prints both results and
// lets them go at once. Status 0 when both grabs succeed.
// Usage: x_grabs   (on $DISPLAY)
#include <X11/Xlib.h>

#include <cstdio>

namespace {

const char *grab_name(int result) {
  switch (result) {
    case GrabSuccess: return "GrabSuccess";
    case AlreadyGrabbed: return "AlreadyGrabbed";
    case GrabInvalidTime: return "GrabInvalidTime";
    case GrabNotViewable: return "GrabNotViewable";
    case GrabFrozen: return "GrabFrozen";
    default: return "unknown";
  }
}

}  // namespace

int main() {
  Display *display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_grabs: cannot open the display\n");
    return 2;
  }
  Window root = DefaultRootWindow(display);
  int keyboard = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                             None, CurrentTime);
  XUngrabPointer(display, CurrentTime);
  XUngrabKeyboard(display, CurrentTime);
  XCloseDisplay(display);
  std::printf("keyboard %s pointer %s\n", grab_name(keyboard), grab_name(pointer));
  return keyboard == GrabSuccess && pointer == GrabSuccess ? 0 : 1;
}
