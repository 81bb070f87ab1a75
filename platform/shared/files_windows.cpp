// Windows: wide names, binary always, and MoveFileExW to put a file in
// another's place whole.
#include "platform/shared/files.h"

#include "platform/shared/utf16_windows.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

namespace {

// Windows' reasons as the C library's numbers, for the messages.
int errno_of(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}

std::wstring binary_mode(const char *mode) {
  std::wstring wide = utf16_of(mode);
  if (wide.find(L'b') == std::wstring::npos) wide += L'b';
  return wide;
}

}  // namespace

std::FILE *open_file(const std::string &path, const char *mode) {
  return _wfopen(utf16_of(path).c_str(), binary_mode(mode).c_str());
}

int open_for_reading(const std::string &path) { return _wopen(utf16_of(path).c_str(), _O_RDONLY | _O_BINARY); }

std::FILE *create_new_file(const std::string &path) {
  int fd = _wopen(utf16_of(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE *file = _fdopen(fd, "wb");
  if (!file) {
    int error = errno;
    _close(fd);
    remove_file(path);
    errno = error;
  }
  return file;
}

FileKind file_kind(const std::string &path) {
  DWORD attributes = GetFileAttributesW(utf16_of(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    errno = errno_of(GetLastError());
    return FileKind::None;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Folder;
  return attributes & FILE_ATTRIBUTE_DEVICE ? FileKind::Other : FileKind::Regular;
}

bool same_file(const std::string &a, const std::string &b) {
  std::error_code error;
  return std::filesystem::equivalent(path_of(a), path_of(b), error);
}

int sync_file(std::FILE *file) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return FlushFileBuffers(handle) ? 0 : errno_of(GetLastError());
}

int replace_file(const std::string &from, const std::string &to) {
  if (MoveFileExW(utf16_of(from).c_str(), utf16_of(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  return errno_of(GetLastError());
}

int remove_file(const std::string &path) {
  return DeleteFileW(utf16_of(path).c_str()) ? 0 : errno_of(GetLastError());
}

size_t longest_file_name(const std::string &) { return MAX_PATH - 1; }

// NTFS and FAT take names of up to 255 UTF-16 units.
bool file_name_fits(const std::string &path) {
  size_t name_at = path.find_last_of(FOLDER_SEPARATORS) + 1;
  return utf16_of(path.substr(name_at)).size() <= 255;
}

long process_number() { return static_cast<long>(GetCurrentProcessId()); }

std::filesystem::path path_of(const std::string &utf8) { return std::filesystem::path(utf16_of(utf8)); }
std::string utf8_of(const std::filesystem::path &path) { return utf8_of_utf16(path.c_str()); }
