#include "platform/x11/x11_present.h"

#include "platform/display/presenter.h"
#include "platform/sys/monotonic_clock.h"

#include <X11/Xlib-xcb.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>
#include <xcb/present.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

// Two are enough when each frame goes at the refresh after the one before
// (the older is free by then); a third covers a refresh that comes late.
constexpr int BUFFERS = 3;
// Frames and requests for notices remembered by serial until reported.
constexpr int SENT_KEPT = 64;

struct Buffer {
  PictureBuffer picture;
  xcb_pixmap_t pixmap = 0;
  xcb_shm_seg_t segment = 0;  // 0: the pixmap's contents are sent as images
  size_t bytes = 0;
  bool busy = false;
};

struct Sent {
  uint32_t serial = 0;
  long long target = 0;  // the refresh aimed at; 0: none (at once, or a notice of the current one)
  long long lead = 0;    // ns before the target's predicted time
  bool timed = false;    // its report carries a refresh's time
};

struct PresentedWindow {
  xcb_connection_t *connection = nullptr;
  xcb_window_t window = 0;
  uint32_t event_id = 0;
  xcb_special_event_t *events = nullptr;
  xcb_gcontext_t gc = 0;  // for the images of buffers without shared memory
  FramePacer *pacer = nullptr;
  int width = 0, height = 0, depth = 0;
  unsigned long masks[3] = {};
  Buffer buffers[BUFFERS];
  Sent sent[SENT_KEPT];
  uint32_t serial = 0;
  bool open = false;
};

// Never destroyed, like the presenter: the library may outlive static objects.
PresentedWindow &presented = *new PresentedWindow{};

bool presenting() { return presented.open && !xcb_connection_has_error(presented.connection); }

// Whether the server has the Present extension, 1.2 or later.
bool has_present(xcb_connection_t *c) {
  const xcb_query_extension_reply_t *present = xcb_get_extension_data(c, &xcb_present_id);
  if (!present || !present->present) return false;
  std::unique_ptr<xcb_present_query_version_reply_t, decltype(&free)> version(
      xcb_present_query_version_reply(c, xcb_present_query_version(c, 1, 2), nullptr), free);
  return version != nullptr;
}

// Memory files go only over a local socket; MIT-SHM takes them from 1.2 on.
bool can_share_memory(xcb_connection_t *c) {
  const xcb_query_extension_reply_t *shm = xcb_get_extension_data(c, &xcb_shm_id);
  if (!shm || !shm->present) return false;
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(xcb_get_file_descriptor(c), reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
      address.ss_family != AF_UNIX)
    return false;
  std::unique_ptr<xcb_shm_query_version_reply_t, decltype(&free)> version(
      xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr), free);
  return version && (version->major_version > 1 || version->minor_version >= 2);
}

// The window's depth and visual: true colour at 32 bits a pixel only.
bool read_format(xcb_connection_t *c, xcb_window_t window) {
  std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), free);
  std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr), free);
  if (!geometry || !attributes) return false;
  const xcb_setup_t *setup = xcb_get_setup(c);
  bool bits32 = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == geometry->depth) bits32 = f.data->bits_per_pixel == 32;
  const xcb_visualtype_t *visual = nullptr;
  for (auto s = xcb_setup_roots_iterator(setup); s.rem && !visual; xcb_screen_next(&s))
    for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem && !visual; xcb_depth_next(&d))
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
        if (v.data->visual_id == attributes->visual) visual = v.data;
  if (!bits32 || !visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR) return false;
  presented.depth = geometry->depth;
  presented.masks[0] = visual->red_mask;
  presented.masks[1] = visual->green_mask;
  presented.masks[2] = visual->blue_mask;
  return true;
}

// Shared memory for the buffer's pixels when the server takes it, else our
// own memory, sent as images.
bool make_buffer(Buffer &b, bool share) {
  xcb_connection_t *c = presented.connection;
  b.picture.pitch = static_cast<long>(presented.width) * 4;
  b.bytes = static_cast<size_t>(b.picture.pitch) * presented.height;
  b.pixmap = xcb_generate_id(c);
  if (share) {
    int fd = memfd_create("swarmfire-picture", MFD_CLOEXEC);
    void *memory = MAP_FAILED;
    if (fd >= 0 && ftruncate(fd, static_cast<off_t>(b.bytes)) == 0)
      memory = mmap(nullptr, b.bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory != MAP_FAILED) {
      b.segment = xcb_generate_id(c);
      // Writable: the server makes pixmaps of writable segments only. xcb
      // closes our copy of the file once sent.
      xcb_generic_error_t *error = xcb_request_check(c, xcb_shm_attach_fd_checked(c, b.segment, fd, 0));
      if (!error) {
        b.picture.pixels = static_cast<uint8_t *>(memory);
        xcb_shm_create_pixmap(c, b.pixmap, presented.window, presented.width, presented.height, presented.depth, b.segment, 0);
        return true;
      }
      free(error);
      b.segment = 0;
      munmap(memory, b.bytes);
    } else if (fd >= 0) {
      close(fd);
    }
  }
  b.picture.pixels = static_cast<uint8_t *>(calloc(b.bytes, 1));
  if (!b.picture.pixels) return false;
  xcb_create_pixmap(c, presented.depth, b.pixmap, presented.window, presented.width, presented.height);
  return true;
}

void free_buffer(Buffer &b) {
  if (!b.picture.pixels) return;
  xcb_free_pixmap(presented.connection, b.pixmap);
  if (b.segment) {
    xcb_shm_detach(presented.connection, b.segment);
    munmap(b.picture.pixels, b.bytes);
  } else {
    free(b.picture.pixels);
  }
  b = Buffer{};
}

// Rows of a buffer without shared memory go to its pixmap as images, in
// pieces well under the server's request size.
void upload_rows(Buffer &b, int first_row, int last_row) {
  if (b.segment) return;
  xcb_connection_t *c = presented.connection;
  int rows_each = static_cast<int>(256 * 1024 / b.picture.pitch);
  if (rows_each < 1) rows_each = 1;
  for (int y = first_row; y <= last_row; y += rows_each) {
    int rows = last_row - y + 1 < rows_each ? last_row - y + 1 : rows_each;
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, b.pixmap, presented.gc, presented.width, rows, 0, y, 0, presented.depth,
                  static_cast<uint32_t>(rows * b.picture.pitch), b.picture.pixels + y * b.picture.pitch);
  }
}

Sent &sent_for(uint32_t serial) { return presented.sent[serial % SENT_KEPT]; }

Sent &remember(long long target, long long lead, bool timed) {
  Sent &s = sent_for(++presented.serial);
  s = {presented.serial, target, lead, timed};
  return s;
}

void complete(const xcb_present_complete_notify_event_t &e, long long now) {
  Sent &s = sent_for(e.serial);
  if (s.serial != e.serial) return;
  FramePacer &pacer = *presented.pacer;
  // The server's clock is ours (CLOCK_MONOTONIC) unless it runs on another
  // machine: its times are of no use then, only its counter.
  long long ust = static_cast<long long>(e.ust) * 1000;
  if (!s.timed || ust < now - NS_PER_SECOND || ust > now + NS_PER_SECOND) ust = -1;
  if (e.kind == XCB_PRESENT_COMPLETE_KIND_PIXMAP && s.target > 0)
    pacer_shown(pacer, s.target, static_cast<long long>(e.msc), s.lead);
  // A frame skipped for a later one is reported when that one came, not at
  // a refresh.
  if (e.kind == XCB_PRESENT_COMPLETE_KIND_PIXMAP && e.mode == XCB_PRESENT_COMPLETE_MODE_SKIP) return;
  pacer_refresh(pacer, static_cast<long long>(e.msc), ust, now);
}

void idle(const xcb_present_idle_notify_event_t &e) {
  for (Buffer &b : presented.buffers)
    if (b.pixmap == e.pixmap) b.busy = false;
}

}  // namespace

bool x11_present_open(Display *display, Window window, int picture_w, int picture_h, FramePacer *pacer) {
  x11_present_close();
  xcb_connection_t *c = XGetXCBConnection(display);
  if (!c || xcb_connection_has_error(c) || !has_present(c)) return false;
  presented.connection = c;
  presented.window = static_cast<xcb_window_t>(window);
  presented.width = picture_w;
  presented.height = picture_h;
  presented.pacer = pacer;
  if (!read_format(c, presented.window)) return false;
  bool share = can_share_memory(c);
  for (Buffer &b : presented.buffers)
    if (!make_buffer(b, share)) {
      for (Buffer &made : presented.buffers) free_buffer(made);
      return false;
    }
  presented.gc = xcb_generate_id(c);
  xcb_create_gc(c, presented.gc, presented.buffers[0].pixmap, 0, nullptr);
  presented.event_id = xcb_generate_id(c);
  presented.events = xcb_register_for_special_xge(c, &xcb_present_id, presented.event_id, nullptr);
  xcb_present_select_input(c, presented.event_id, presented.window,
                           XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY | XCB_PRESENT_EVENT_MASK_IDLE_NOTIFY);
  xcb_flush(c);
  presented.open = true;
  return true;
}

void x11_present_close() {
  if (!presented.open) return;
  xcb_connection_t *c = presented.connection;
  xcb_present_select_input(c, presented.event_id, presented.window, 0);
  for (Buffer &b : presented.buffers) free_buffer(b);
  xcb_free_gc(c, presented.gc);
  xcb_flush(c);
  xcb_unregister_for_special_event(c, presented.events);
  presented.events = nullptr;
  presented.open = false;
}

unsigned long x11_present_mask(int channel) { return presented.masks[channel]; }

PictureBuffer *x11_present_free_buffer() {
  for (Buffer &b : presented.buffers)
    if (!b.busy) return &b.picture;
  return nullptr;
}

void x11_present_send(PictureBuffer *picture, int x, int y, int first_row, int last_row) {
  Buffer *b = nullptr;
  for (Buffer &each : presented.buffers)
    if (&each.picture == picture) b = &each;
  if (!b || !presenting()) return;
  upload_rows(*b, first_row, last_row);
  const FramePacer &pacer = *presented.pacer;
  bool at_once = pacer.mode == PaceMode::AtOnce;
  long long target = at_once ? 0 : pacer.target;
  long long now = now_ns();
  long long lead = target > 0 && pacer_period(pacer) > 0 ? pacer_time_of(pacer, target) - now : 0;
  Sent &s = remember(target, lead, !at_once);
  xcb_present_pixmap(presented.connection, presented.window, b->pixmap, s.serial, 0, 0, static_cast<int16_t>(x),
                     static_cast<int16_t>(y), 0, 0, 0, at_once ? XCB_PRESENT_OPTION_ASYNC : 0,
                     static_cast<uint64_t>(target), 0, 0, 0, nullptr);
  b->busy = true;
  if (target > 0) pacer_asked(*presented.pacer, target, now);
}

void x11_present_ask_notify(long long msc) {
  if (!presenting()) return;
  Sent &s = remember(0, 0, msc > 0);
  xcb_present_notify_msc(presented.connection, presented.window, s.serial, static_cast<uint64_t>(msc), 0, 0);
  pacer_asked(*presented.pacer, msc, now_ns());
}

void x11_present_read_events(long long now) {
  if (!presented.open) return;
  while (xcb_generic_event_t *event = xcb_poll_for_special_event(presented.connection, presented.events)) {
    auto *present = reinterpret_cast<xcb_present_generic_event_t *>(event);
    if (present->evtype == XCB_PRESENT_EVENT_COMPLETE_NOTIFY)
      complete(*reinterpret_cast<xcb_present_complete_notify_event_t *>(event), now);
    else if (present->evtype == XCB_PRESENT_EVENT_IDLE_NOTIFY)
      idle(*reinterpret_cast<xcb_present_idle_notify_event_t *>(event));
    free(event);
  }
}
