#include "platform/shared/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

std::FILE *open_file(const std::string &path, const char *mode) { return std::fopen(path.c_str(), mode); }

int open_for_reading(const std::string &path) {
  return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

std::FILE *create_new_file(const std::string &path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE *file = fdopen(fd, "wb");
  if (!file) {
    int error = errno;
    close(fd);
    unlink(path.c_str());
    errno = error;
  }
  return file;
}

FileKind file_kind(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return FileKind::None;
  return S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
}

bool same_file(const std::string &a, const std::string &b) {
  struct stat one, other;
  return stat(a.c_str(), &one) == 0 && stat(b.c_str(), &other) == 0 && one.st_dev == other.st_dev &&
         one.st_ino == other.st_ino;
}

int sync_file(std::FILE *file) { return fsync(fileno(file)) == 0 ? 0 : errno; }
int replace_file(const std::string &from, const std::string &to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}
int remove_file(const std::string &path) { return unlink(path.c_str()) == 0 ? 0 : errno; }

size_t longest_file_name(const std::string &folder) {
  long most = pathconf(folder.c_str(), _PC_NAME_MAX);
  return most > 0 ? size_t(most) : size_t(NAME_MAX);
}

bool file_name_fits(const std::string &path) {
  size_t name_at = path.rfind('/') + 1;
  return path.size() - name_at <= longest_file_name(name_at == 0 ? "." : path.substr(0, name_at));
}

long process_number() { return getpid(); }

std::filesystem::path path_of(const std::string &utf8) { return utf8; }
std::string utf8_of(const std::filesystem::path &path) { return path.string(); }
