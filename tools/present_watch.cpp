// Watches the game's window from another X client, as a player's eye would
// see its frames reach the screen at the display's refreshes:
//   present_watch cadence WINDOW SECONDS
//     counts, for SECONDS, the refreshes each new frame stays on the screen.
//     The refreshes: Present's word of each (a chain of NotifyMSC on the
//     window, which Xvfb fakes at -fakescreenfps). The frames: the game's
//     own PresentPixmap completions (their refresh, or skipped) when it
//     presents; else the drawings reported by Damage, a burst of them one
//     frame, shown at the first refresh after it arrives. Prints
//     "method M frames N held1 A held2 B held3 C held4 D lost L"
//     (lost: frames never shown, two in one refresh).
//   present_watch keys WINDOW FEED PRESSES
//     presses Left or Right (XTest) PRESSES times, 0.7 to 1.1 s apart, and
//     times each press to the first frame that shows the ship moved: its
//     12 top rows, where the play feed FEED (SWARMFIRE_PLAY_FEED) puts it,
//     read back from the window after each frame (a change of 40 of its
//     pixels or more, which the feed confirms within 50 ms). Prints
//     "presses N seen S median M p10 A p90 B" (ms).
// WINDOW is the game's top-level window as xdotool prints it; the picture
// is drawn in its child.
#include "platform/sys/monotonic_clock.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <time.h>
#include <xcb/damage.h>
#include <xcb/present.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr long long MS = 1'000'000;
constexpr uint32_t OWN_SERIAL = 0x80000000;  // our NotifyMSC serials, above the game's

struct Watch {
  Display *display = nullptr;
  xcb_connection_t *c = nullptr;
  xcb_window_t window = 0;
  int width = 0, height = 0, scale = 1, pic_x = 0, pic_y = 0;
  uint8_t damage_event = 0;
  long long vblank = -1;  // the latest refresh reported
  uint32_t serial = OWN_SERIAL;
};

// A frame event: a drawing reached the window (shown at refresh `msc`), or
// a frame the server skipped.
struct Frame {
  long long msc;
  bool lost;
  long long at;  // ns, when it came
  bool damage;   // seen through Damage, not Present
};

void fail(const char *why) {
  std::fprintf(stderr, "present_watch: %s\n", why);
  std::exit(1);
}

void open_watch(Watch &w, const char *top) {
  w.display = XOpenDisplay(nullptr);
  if (!w.display) fail("cannot open the display");
  XSetEventQueueOwner(w.display, XCBOwnsEventQueue);
  w.c = XGetXCBConnection(w.display);
  xcb_window_t window = static_cast<xcb_window_t>(std::strtoul(top, nullptr, 0));
  xcb_query_tree_reply_t *tree = xcb_query_tree_reply(w.c, xcb_query_tree(w.c, window), nullptr);
  if (!tree) fail("no such window");
  if (xcb_query_tree_children_length(tree) > 0) window = xcb_query_tree_children(tree)[0];
  free(tree);
  w.window = window;
  xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(w.c, xcb_get_geometry(w.c, window), nullptr);
  if (!g) fail("no geometry");
  w.width = g->width, w.height = g->height;
  free(g);
  w.scale = std::max(1, std::min(w.width / 320, w.height / 240));
  w.pic_x = (w.width - 320 * w.scale) / 2, w.pic_y = (w.height - 240 * w.scale) / 2;
  free(xcb_present_query_version_reply(w.c, xcb_present_query_version(w.c, 1, 2), nullptr));
  free(xcb_damage_query_version_reply(w.c, xcb_damage_query_version(w.c, 1, 1), nullptr));
  w.damage_event = xcb_get_extension_data(w.c, &xcb_damage_id)->first_event;
  xcb_present_select_input(w.c, xcb_generate_id(w.c), window, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
  xcb_damage_create(w.c, xcb_generate_id(w.c), window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
  xcb_present_notify_msc(w.c, window, w.serial++, 0, 0, 0);
  xcb_flush(w.c);
}

// Handles what came by `until`; each frame event goes to `frames`.
// `pixmaps` counts the game's presents seen.
void take_events(Watch &w, long long until, std::vector<Frame> &frames, long &pixmaps, long long &damage_at) {
  pollfd fd{xcb_get_file_descriptor(w.c), POLLIN, 0};
  for (;;) {
    xcb_generic_event_t *e = xcb_poll_for_event(w.c);
    if (!e) {
      long long left = until - now_ns();
      if (left <= 0) return;
      poll(&fd, 1, static_cast<int>(left / MS) + 1);
      continue;
    }
    long long now = now_ns();
    uint8_t type = e->response_type & 0x7f;
    if (type == XCB_GE_GENERIC) {
      auto *p = reinterpret_cast<xcb_present_complete_notify_event_t *>(e);
      if (p->event_type == XCB_PRESENT_EVENT_COMPLETE_NOTIFY) {
        if (p->kind == XCB_PRESENT_COMPLETE_KIND_NOTIFY_MSC && p->serial >= OWN_SERIAL) {
          w.vblank = static_cast<long long>(p->msc);
          xcb_present_notify_msc(w.c, w.window, w.serial++, w.vblank + 1, 0, 0);
          xcb_flush(w.c);
        } else if (p->kind == XCB_PRESENT_COMPLETE_KIND_PIXMAP) {
          ++pixmaps;
          frames.push_back({static_cast<long long>(p->msc), p->mode == XCB_PRESENT_COMPLETE_MODE_SKIP, now, false});
        }
      }
    } else if (type == w.damage_event + XCB_DAMAGE_NOTIFY && w.vblank >= 0) {
      // One frame's drawings come in a burst; the next frame's, milliseconds on.
      if (now - damage_at > 3 * MS) frames.push_back({w.vblank + 1, false, now, true});
      damage_at = now;
    }
    free(e);
  }
}

int cadence(Watch &w, double seconds) {
  std::vector<Frame> frames;
  long pixmaps = 0;
  long long damage_at = 0;
  take_events(w, now_ns() + static_cast<long long>(seconds * 1e9), frames, pixmaps, damage_at);
  bool by_present = pixmaps > 0;
  long held[5] = {}, lost = 0, counted = 0;
  long long last = -1;
  for (const Frame &f : frames) {
    if (by_present == f.damage) continue;  // Damage of the presents themselves: not frames of their own
    ++counted;
    if (f.lost) {
      ++lost;
      continue;
    }
    if (last >= 0) {
      long long d = f.msc - last;
      if (d <= 0)
        ++lost;
      else
        ++held[std::min(d, 4LL)];
    }
    last = std::max(last, f.msc);
  }
  std::printf("method %s frames %ld held1 %ld held2 %ld held3 %ld held4 %ld lost %ld\n",
              by_present ? "present" : "damage", counted, held[1], held[2], held[3], held[4], lost);
  return counted > 0 ? 0 : 1;
}

// The ship's place in the picture: the x of the feed's latest line (read
// from the file's last few kilobytes).
int ship_x(const char *feed) {
  std::ifstream in(feed, std::ios::ate);
  std::streamoff size = in.tellg();
  in.seekg(size > 8192 ? size - 8192 : 0);
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  int frame = 0, level = 0, lives = 0, end = 0, x = -1;
  std::sscanf(last.c_str(), "%d %d %d %d %d", &frame, &level, &lives, &end, &x);
  return x;
}

// The 12 top rows of the ship's box (and 2 pixels either side), as shown.
std::vector<uint8_t> ship_rows(Watch &w, int x) {
  int s = w.scale;
  int left = std::max(0, x - 2);
  xcb_get_image_reply_t *r = xcb_get_image_reply(
      w.c,
      xcb_get_image(w.c, XCB_IMAGE_FORMAT_Z_PIXMAP, w.window, static_cast<int16_t>(w.pic_x + left * s),
                    static_cast<int16_t>(w.pic_y + 214 * s), static_cast<uint16_t>(20 * s),
                    static_cast<uint16_t>(12 * s), ~0u),
      nullptr);
  std::vector<uint8_t> pixels;
  if (r) pixels.assign(xcb_get_image_data(r), xcb_get_image_data(r) + xcb_get_image_data_length(r));
  free(r);
  return pixels;
}

long differing(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
  if (a.size() != b.size()) return 1 << 30;
  long n = 0;
  for (size_t i = 0; i + 3 < a.size(); i += 4) n += std::memcmp(&a[i], &b[i], 3) != 0;
  return n;
}

int keys(Watch &w, const char *feed, int presses) {
  std::mt19937 random(12345);
  std::vector<double> latencies;
  std::vector<Frame> frames;
  long pixmaps = 0;
  long long damage_at = 0;
  for (int i = 0; i < presses; ++i) {
    take_events(w, now_ns() + (700 + static_cast<long long>(random() % 400)) * MS, frames, pixmaps, damage_at);
    int x = ship_x(feed);
    if (x < 0) fail("no play feed");
    std::vector<uint8_t> before = ship_rows(w, x);
    KeySym sym = (i % 2 == 0) == (x < 160) ? XK_Right : XK_Left;
    KeyCode code = XKeysymToKeycode(w.display, sym);
    frames.clear();
    long long pressed = now_ns();
    XTestFakeKeyEvent(w.display, code, True, 0);
    XFlush(w.display);
    bool released = false;
    double seen = -1;
    long long moved_at = -1;  // the first frame that showed the ship moved
    for (long long give_up = pressed + 300 * MS; now_ns() < give_up && seen < 0;) {
      size_t had = frames.size();
      take_events(w, now_ns() + 2 * MS, frames, pixmaps, damage_at);
      if (!released && now_ns() > pressed + 80 * MS) {
        XTestFakeKeyEvent(w.display, code, False, 0);
        XFlush(w.display);
        released = true;
      }
      // The ship moved: banked and a pixel over, most of its rows change (a
      // shot passing changes a few dozen pixels).
      for (size_t k = had; k < frames.size() && moved_at < 0; ++k)
        if (differing(before, ship_rows(w, x)) > 40 * w.scale * w.scale) moved_at = frames[k].at;
      // Counted once the feed has it moved: the game writes its line after
      // the frame's wait, so up to a frame after the frame reached the window.
      if (moved_at >= 0 && ship_x(feed) != x) seen = (moved_at - pressed) / 1e6;
      if (moved_at >= 0 && now_ns() - moved_at > 50 * MS) moved_at = -1;
    }
    if (!released) {
      XTestFakeKeyEvent(w.display, code, False, 0);
      XFlush(w.display);
    }
    if (seen >= 0) latencies.push_back(seen);
  }
  std::sort(latencies.begin(), latencies.end());
  auto at = [&](double q) { return latencies.empty() ? 0 : latencies[static_cast<size_t>(q * (latencies.size() - 1))]; };
  std::printf("presses %d seen %zu median %.1f p10 %.1f p90 %.1f\n", presses, latencies.size(), at(0.5), at(0.1),
              at(0.9));
  return latencies.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char **argv) {
  bool is_cadence = argc == 4 && !std::strcmp(argv[1], "cadence");
  bool is_keys = argc == 5 && !std::strcmp(argv[1], "keys");
  if (!is_cadence && !is_keys) {
    std::fprintf(stderr, "usage: present_watch cadence WINDOW SECONDS | present_watch keys WINDOW FEED PRESSES\n");
    return 2;
  }
  Watch w;
  open_watch(w, argv[2]);
  return is_cadence ? cadence(w, std::atof(argv[3])) : keys(w, argv[3], std::atoi(argv[4]));
}
