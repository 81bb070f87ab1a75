#include "platform/x11/x11_wait.h"

#include "platform/display/display_modes.h"
#include "platform/display/frame_pacer.h"
#include "platform/display/presenter.h"
#include "platform/sys/monotonic_clock.h"
#include "platform/x11/x11_present.h"

// After allegro.h: the library's X state (_xwin), its lock and its input
// handler.
#include <allegro/platform/aintunix.h>
#include <xalleg.h>

#include <poll.h>
#include <time.h>

#include <cerrno>

namespace {

FramePacer pacer;
bool reads_input = false;
bool presents = false;
bool repaint_asked = false;
void (*library_redrawer)(int, int, int, int) = nullptr;

// Exposed parts of the window are cleared to its black background by the
// server; the picture is sent again at the wait.
void on_expose(int, int, int, int) { repaint_asked = true; }

BufferedDisplay buffered_display() {
  BufferedDisplay display{SCREEN_W, SCREEN_H, {}, x11_present_free_buffer, x11_present_send};
  for (int channel = 0; channel < 3; ++channel) display.masks[channel] = x11_present_mask(channel);
  return display;
}

// Whatever the connection holds: our reports, and the library's events,
// handled by its own input handler (keys, focus, the close button, exposes).
void take_events(long long now) {
  Display *display = _xwin.display;
  XLOCK();
  int queued = XEventsQueued(display, QueuedAfterReading);
  XUNLOCK();
  if (presents) x11_present_read_events(now);
  if (queued > 0) _xwin_handle_input();
  if (!presents) return;
  if (repaint_asked) {
    repaint_asked = false;
    presenter_repaint();
  }
  presenter_send_held_back();
  long long msc = pacer_notify_wanted(pacer, now);
  if (msc >= 0) x11_present_ask_notify(msc);
}

// Sleeps until `until`, waking for whatever the X server sends meanwhile.
void sleep_on_display(long long until) {
  Display *display = _xwin.display;
  int fd = ConnectionNumber(display);
  for (;;) {
    long long now = now_ns();
    take_events(now);
    now = now_ns();
    if (now >= until) return;
    XLOCK();
    XFlush(display);
    XUNLOCK();
    pollfd watched{fd, POLLIN, 0};
    long long left = until - now;
    timespec timeout{static_cast<time_t>(left / NS_PER_SECOND), static_cast<long>(left % NS_PER_SECOND)};
    int ready = ppoll(&watched, 1, &timeout, nullptr);
    // A connection gone (the next wait says so) is no reason to spin.
    if ((ready < 0 && errno != EINTR) || (ready > 0 && (watched.revents & (POLLERR | POLLHUP | POLLNVAL)))) {
      sleep_until(until);
      return;
    }
  }
}

}  // namespace

void x11_wait_start(bool read_input) { reads_input = read_input; }

void x11_wait_attach(BITMAP *target, const RGB *palette, const ScreenRect &area) {
  x11_wait_detach();
  Placement place = place_picture(area);
  XLOCK();
  presents = reads_input && _xwin.display &&
             x11_present_open(_xwin.display, _xwin.window, PICTURE_WIDTH * place.scale,
                                 PICTURE_HEIGHT * place.scale, &pacer);
  if (presents) {
    library_redrawer = _xwin_window_redrawer;
    _xwin_window_redrawer = on_expose;
    XClearWindow(_xwin.display, _xwin.window);
  }
  XUNLOCK();
  if (presents)
    presenter_attach_buffers(buffered_display(), palette, area);
  else
    presenter_attach(target, palette, area);
}

void x11_wait_detach() {
  presenter_detach();
  if (!presents) return;
  XLOCK();
  x11_present_close();
  _xwin_window_redrawer = library_redrawer;
  XUNLOCK();
  presents = false;
  repaint_asked = false;
}

int x11_wait() {
  PacedWait wait = pacer_wait(pacer, now_ns());
  if (reads_input && _xwin.display)
    sleep_on_display(wait.until);
  else
    sleep_until(wait.until);
  return wait.passed;
}

void x11_take_input() {
  if (reads_input && _xwin.display) take_events(now_ns());
}

bool x11_wait_presents() { return presents; }
