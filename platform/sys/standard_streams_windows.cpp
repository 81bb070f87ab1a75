// Windows: the game is a GUI program, which has no console of its own. Its
// output goes where it was redirected, or else into the console it was
// started from, so that --help and --verify answer there. The arguments
// come as UTF-16 and are given to the game in UTF-8.
#include "platform/sys/standard_streams.h"

#include "platform/shared/utf16_windows.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool output_missing = false;

bool redirected(DWORD stream) {
  HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void standard_streams_open() {
  bool out = redirected(STD_OUTPUT_HANDLE), err = redirected(STD_ERROR_HANDLE);
  if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    if (!out) out = std::freopen("CONOUT$", "w", stdout) != nullptr;
    if (!err) std::freopen("CONOUT$", "w", stderr);
  }
  output_missing = !out;
}

std::string standard_output_problem() {
  if (output_missing) return std::strerror(EBADF);
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) return std::strerror(errno ? errno : EIO);
  return {};
}

void arguments_in_utf8(int &argc, char **&argv) {
  static std::vector<std::string> texts;
  static std::vector<char *> pointers;
  int count = 0;
  wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return;
  texts.clear();
  for (int i = 0; i < count; ++i) texts.push_back(utf8_of_utf16(wide[i]));
  LocalFree(wide);
  pointers.clear();
  for (std::string &text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  argc = count;
  argv = pointers.data();
}
