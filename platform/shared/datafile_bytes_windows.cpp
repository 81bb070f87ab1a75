// Windows has no private in-memory file that a program may open by name:
// the bytes go into a temporary file of the game's own, which it holds
// open, sharing it for reading only, so that nothing else may write to it
// while the library loads it; then it goes.
#include "platform/shared/datafile_bytes.h"

#include "platform/shared/utf16_windows.h"

// After allegro.h (datafile_bytes.h): windows.h without its BITMAP.
#include <winalleg.h>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<unsigned> copies_made{0};

// A name in the temporary folder that no other file has; empty when there
// is none.
std::wstring temporary_name() {
  wchar_t folder[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, folder);
  if (n == 0 || n > MAX_PATH) return {};
  return std::wstring(folder) + L"swarmfire-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(copies_made++) + L".dat";
}

bool write_all(HANDLE file, const std::vector<uint8_t> &bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    DWORD n = 0, chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1 << 20));
    if (!WriteFile(file, bytes.data() + written, chunk, &n, nullptr) || n == 0) return false;
    written += n;
  }
  return true;
}

}  // namespace

DATAFILE *load_datafile_from_bytes(const std::vector<uint8_t> &bytes, const std::string &path, std::string &) {
  std::wstring name = temporary_name();
  HANDLE file = name.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_TEMPORARY, nullptr);
  // Without room for the copy, the library loads the file itself, and the
  // check after the load holds what it got to what the game needs.
  if (file == INVALID_HANDLE_VALUE) return load_datafile(path.c_str());
  DATAFILE *data = nullptr;
  if (write_all(file, bytes))
    data = load_datafile(utf8_of_utf16(name.c_str()).c_str());
  else
    data = load_datafile(path.c_str());
  CloseHandle(file);
  DeleteFileW(name.c_str());
  return data;
}
