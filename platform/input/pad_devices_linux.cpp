// The library's Linux driver reads /dev/input/js0 and on, through the
// kernel's joydev interface.
#include "platform/input/pad_devices.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

bool pad_device_there(int n) {
  char path[24];
  std::snprintf(path, sizeof path, "/dev/input/js%d", n);
  struct stat st;
  return stat(path, &st) == 0;
}

// The kernel answers the reads of a pad pulled out with ENODEV from that
// moment on, though its node may stay a while.
bool pad_read_failed() { return errno == ENODEV; }
