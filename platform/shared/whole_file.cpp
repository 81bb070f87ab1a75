#include "platform/shared/whole_file.h"

#include "platform/shared/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

WholeFile failed(ReadFailure failure, int error = 0) {
  WholeFile file;
  file.failure = failure;
  file.error = error;
  return file;
}

// The open file and its size, or -1 with the failure.
int open_regular(const std::string &path, off_t &size, WholeFile &failure) {
  int fd = open_for_reading(path);
  if (fd < 0) {
    failure = failed(ReadFailure::CannotOpen, errno);
    return -1;
  }
  struct stat info;
  if (fstat(fd, &info) != 0)
    failure = failed(ReadFailure::CannotRead, errno);
  else if (!S_ISREG(info.st_mode))
    failure = failed(ReadFailure::NotRegular);
  if (failure.failure == ReadFailure::None) {
    size = info.st_size;
    return fd;
  }
  close(fd);
  return -1;
}

}  // namespace

std::string WholeFile::why() const {
  switch (failure) {
    case ReadFailure::None: return {};
    case ReadFailure::NotRegular: return "not a regular file";
    case ReadFailure::TooLarge: return "larger than " + std::to_string(MOST_WHOLE_FILE_BYTES >> 20) + " MiB";
    case ReadFailure::CannotOpen:
    case ReadFailure::CannotRead: return std::strerror(error);
  }
  return {};
}

WholeFile read_whole_file(const std::string &path) {
  WholeFile file;
  off_t size = 0;
  int fd = open_regular(path, size, file);
  if (fd < 0) return file;
  if (size_t(size) > MOST_WHOLE_FILE_BYTES) {
    close(fd);
    return failed(ReadFailure::TooLarge);
  }
  // Room for the whole file at once; read on to its end all the same, in
  // case it grew.
  file.bytes.reserve(size_t(size));
  uint8_t chunk[65536];
  for (;;) {
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) file = failed(ReadFailure::CannotRead, errno);
    if (got <= 0) break;
    file.bytes.insert(file.bytes.end(), chunk, chunk + got);
    if (file.bytes.size() > MOST_WHOLE_FILE_BYTES) {
      file = failed(ReadFailure::TooLarge);
      break;
    }
  }
  close(fd);
  return file;
}

std::string regular_file_problem(const std::string &path) {
  WholeFile failure;
  off_t size = 0;
  int fd = open_regular(path, size, failure);
  if (fd >= 0) close(fd);
  return failure.why();
}
