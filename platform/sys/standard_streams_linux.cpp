#include "platform/sys/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool output_was_closed = false;

bool is_open(int fd) { return fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

}  // namespace

void standard_streams_open() {
  output_was_closed = !is_open(STDOUT_FILENO);
  // open() takes the lowest free number, so the streams are filled in order.
  // Without /dev/null (a bare chroot) there is nothing better to do.
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
    if (!is_open(fd) && open("/dev/null", O_RDWR) != fd) return;
}

std::string standard_output_problem() {
  if (output_was_closed) return std::strerror(EBADF);
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) return std::strerror(errno ? errno : EIO);
  return {};
}

// Linux hands them over as they were given, which is UTF-8 on any desktop.
void arguments_in_utf8(int &, char **&) {}
