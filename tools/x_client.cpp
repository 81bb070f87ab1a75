// What another X client does to the game on $DISPLAY:
//   x_client close WINDOW_ID  presses the window's close button, as a window
//                             manager does: sends it the WM_DELETE_WINDOW
//                             message of the WM_PROTOCOLS it asked for (the
//                             id as xdotool prints it);
//   x_client grab             grabs the keyboard and the pointer on the root
//                             window, as a desktop's shortcuts and menus do,
//                             and lets them go at once; prints both results
//                             (0 is success);
//   x_client compositor       whether a compositing manager runs (owns the
//                             screen's _NET_WM_CM_S0 selection);
//   x_client refocus WINDOW [manager]
//                             takes the keyboard focus to a small window of
//                             its own each time the window is mapped,
//                             saying "taken" (with "manager" it says it is
//                             the window manager, as a manager's own
//                             windows take the focus); runs until killed.
// Status 0 when the message was sent, both grabs succeeded or a compositor
// runs.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// Takes the focus after every mapping of the window, from a window that is
// its own (and the window manager's, when it says so).
[[noreturn]] void refocus(Display *display, Window window, bool manager) {
  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;
  Window own = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect, &attributes);
  XMapWindow(display, own);
  // A manager's check window names itself, and the root names it.
  for (Window named : {own, DefaultRootWindow(display)})
    if (manager)
      XChangeProperty(display, named, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 32,
                      PropModeReplace, reinterpret_cast<unsigned char *>(&own), 1);
  XSelectInput(display, window, StructureNotifyMask);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify || event.xmap.window != window) continue;
    XSetInputFocus(display, own, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("taken\n");
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char **argv) {
  if ((argc == 3 || (argc == 4 && !std::strcmp(argv[3], "manager"))) && !std::strcmp(argv[1], "refocus")) {
    if (Display *display = XOpenDisplay(nullptr)) refocus(display, std::strtoul(argv[2], nullptr, 0), argc == 4);
  }
  bool close = argc == 3 && !std::strcmp(argv[1], "close");
  bool grab = argc == 2 && !std::strcmp(argv[1], "grab");
  bool compositor = argc == 2 && !std::strcmp(argv[1], "compositor");
  Display *display = close || grab || compositor ? XOpenDisplay(nullptr) : nullptr;
  if (!display) {
    std::fprintf(stderr, "usage: x_client close WINDOW_ID | grab | compositor | refocus WINDOW_ID [manager] (on $DISPLAY)\n");
    return 2;
  }
  bool done;
  if (compositor) {
    done = XGetSelectionOwner(display, XInternAtom(display, "_NET_WM_CM_S0", False)) != None;
  } else if (close) {
    Window window = std::strtoul(argv[2], nullptr, 0);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    done = XSendEvent(display, window, False, NoEventMask, &event);
  } else {
    Window root = DefaultRootWindow(display);
    int keyboard = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    int pointer = XGrabPointer(display, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                               None, None, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    std::printf("keyboard %d pointer %d\n", keyboard, pointer);
    done = keyboard == GrabSuccess && pointer == GrabSuccess;
  }
  XCloseDisplay(display);
  return done ? 0 : 1;
}
