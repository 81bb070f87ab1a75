// Windows: the environment's wide strings, the module's file name, and the
// known folders of the player's profile.
#include "platform/shared/environment.h"

#include "platform/shared/utf16_windows.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdlib>

namespace {

std::string known_folder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) folder = utf8_of_utf16(path);
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::string environment(const char *name) {
  const wchar_t *value = _wgetenv(utf16_of(name).c_str());
  return value ? utf8_of_utf16(value) : "";
}

std::string executable_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return utf8_of_utf16(path.c_str(), static_cast<int>(n));
    path.resize(path.size() * 2);
  }
}

std::string home_folder() { return known_folder(FOLDERID_Profile); }
std::string pictures_folder() { return known_folder(FOLDERID_Pictures); }
