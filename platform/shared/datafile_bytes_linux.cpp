#include "platform/shared/datafile_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The bytes in a private in-memory file, sealed against any change; its
// descriptor, or -1 with errno set.
int sealed_copy(const std::vector<uint8_t> &bytes) {
  int fd = memfd_create("swarmfire-datafile", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (fd < 0) return -1;
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      break;
    }
    written += size_t(n);
  }
  if (written == bytes.size() && fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) == 0)
    return fd;
  int error = errno;
  close(fd);
  errno = error;
  return -1;
}

}  // namespace

// A sealed in-memory file, which the library opens through /proc/self/fd.
// It counts against the file size limit (ulimit -f) like any other.
DATAFILE *load_datafile_from_bytes(const std::vector<uint8_t> &bytes, const std::string &path, std::string &why) {
  int fd = sealed_copy(bytes);
  if (fd < 0 && errno == EFBIG) return load_datafile(path.c_str());
  if (fd < 0) {
    why = std::strerror(errno);
    return nullptr;
  }
  char name[64];
  std::snprintf(name, sizeof name, "/proc/self/fd/%d", fd);
  DATAFILE *data = load_datafile(name);
  close(fd);
  return data;
}

