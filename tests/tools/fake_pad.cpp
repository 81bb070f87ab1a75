// A gamepad without hardware, preloaded into the real game (LD_PRELOAD):
// /dev/input/js0 is a FIFO that the test writes struct js_event records
// into. The device is there while the FIFO is (the test removes it to
// unplug the pad and makes it again to plug one in); /dev/input/js1-7 and
// /dev/js* are never there. It answers the joydev ioctls the library needs
// (version, axes, buttons) as the kernel does for an Xbox-style pad (8 axes:
// left stick, left trigger, right stick, right trigger, D-pad; 11 buttons),
// and on open queues the kernel's JS_EVENT_INIT records of that pad at rest
// (triggers at -32767).
//   SWARMFIRE_FAKE_PAD      the FIFO's path
//   SWARMFIRE_FAKE_PAD_LOG  a file that gets a line "opened" for every open
//                           of the pad (optional)
//   SWARMFIRE_FAKE_PAD_GONE while a file of this name exists, the pad is
//                           pulled out but its node stays: opens and reads
//                           fail with ENODEV, as the kernel's do (optional)
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int AXES = 8, BUTTONS = 11;
std::atomic<int> pad_fd{-1};

const char *fifo() { return std::getenv("SWARMFIRE_FAKE_PAD"); }

template <class F>
F real(const char *name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// A line in the log, if there is one.
void note(const char *line) {
  const char *path = std::getenv("SWARMFIRE_FAKE_PAD_LOG");
  static auto open_fn = real<int (*)(const char *, int, ...)>("open");
  int fd = path ? open_fn(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644) : -1;
  if (fd < 0) return;
  ssize_t written = write(fd, line, std::strlen(line));
  (void)written;
  close(fd);
}

// 0: /dev/input/js0; 1: another joystick device (never there); -1: neither.
int device_kind(const char *path) {
  if (!path || !fifo()) return -1;
  if (std::strcmp(path, "/dev/input/js0") == 0) return 0;
  if (std::strncmp(path, "/dev/input/js", 13) == 0 || std::strncmp(path, "/dev/js", 7) == 0) return 1;
  return -1;
}

bool plugged() { return access(fifo(), F_OK) == 0; }

bool gone() {
  const char *path = std::getenv("SWARMFIRE_FAKE_PAD_GONE");
  return path && access(path, F_OK) == 0;
}

void queue_initial_state(int write_fd) {
  js_event e{};
  e.type = JS_EVENT_BUTTON | JS_EVENT_INIT;
  for (int b = 0; b < BUTTONS; ++b) {
    e.number = b;
    if (write(write_fd, &e, sizeof e) != sizeof e) return;
  }
  e.type = JS_EVENT_AXIS | JS_EVENT_INIT;
  for (int a = 0; a < AXES; ++a) {
    e.number = a;
    e.value = a == 2 || a == 5 ? -32767 : 0;  // the triggers rest at one end
    if (write(write_fd, &e, sizeof e) != sizeof e) return;
  }
}

int open_pad(const char *path, int flags) {
  if (device_kind(path) == 1 || !plugged()) {
    errno = ENOENT;
    return -1;
  }
  if (gone()) {
    errno = ENODEV;
    return -1;
  }
  // A device node's open never blocks; a FIFO's does without a writer.
  auto open_fn = real<int (*)(const char *, int, ...)>("open");
  int fd = open_fn(fifo(), (flags & ~O_ACCMODE) | O_RDONLY | O_NONBLOCK);
  if (fd < 0) return fd;
  if (!(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  int writer = open_fn(fifo(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) {
    queue_initial_state(writer);
    close(writer);
  }
  pad_fd = fd;
  note("opened\n");
  return fd;
}

int fake_stat(const char *path, struct stat *st) {
  if (device_kind(path) == 1 || !plugged()) {
    errno = ENOENT;
    return -1;
  }
  std::memset(st, 0, sizeof *st);
  st->st_mode = S_IFCHR | 0664;
  st->st_rdev = makedev(13, 0);
  return 0;
}

bool is_pad(int fd) { return fd >= 0 && fd == pad_fd; }

}  // namespace

extern "C" {

int open(const char *path, int flags, ...) {
  if (device_kind(path) >= 0) return open_pad(path, flags);
  va_list args;
  va_start(args, flags);
  mode_t mode = va_arg(args, mode_t);
  va_end(args);
  static auto next = real<int (*)(const char *, int, ...)>("open");
  return next(path, flags, mode);
}
int stat(const char *path, struct stat *st) {
  if (device_kind(path) >= 0) return fake_stat(path, st);
  static auto next = real<int (*)(const char *, struct stat *)>("stat");
  return next(path, st);
}
int ioctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void *arg = va_arg(args, void *);
  va_end(args);
  static auto next = real<int (*)(int, unsigned long, void *)>("ioctl");
  if (!is_pad(fd)) return next(fd, request, arg);
  if (request == JSIOCGVERSION) {
    *static_cast<uint32_t *>(arg) = JS_VERSION;
    return 0;
  }
  if (request == JSIOCGAXES || request == JSIOCGBUTTONS) {
    *static_cast<uint8_t *>(arg) = request == JSIOCGAXES ? AXES : BUTTONS;
    return 0;
  }
  errno = EINVAL;
  return -1;
}

// After an unplug the kernel's device answers reads with ENODEV.
ssize_t read(int fd, void *buffer, size_t size) {
  if (is_pad(fd) && (!plugged() || gone())) {
    errno = ENODEV;
    return -1;
  }
  static auto next = real<ssize_t (*)(int, void *, size_t)>("read");
  return next(fd, buffer, size);
}

// A pulled-out pad's device is always ready, to fail the read.
int select(int n, fd_set *read, fd_set *write, fd_set *error, timeval *timeout) {
  int fd = pad_fd;
  if (fd >= 0 && fd < n && read && FD_ISSET(fd, read) && gone()) {
    FD_ZERO(read);
    FD_SET(fd, read);
    if (write) FD_ZERO(write);
    if (error) FD_ZERO(error);
    return 1;
  }
  static auto next = real<int (*)(int, fd_set *, fd_set *, fd_set *, timeval *)>("select");
  return next(n, read, write, error, timeout);
}

int close(int fd) {
  if (is_pad(fd)) pad_fd = -1;
  static auto next = real<int (*)(int)>("close");
  return next(fd);
}

}  // extern "C"
