#include "platform/folder.h"

#include <windows.h>

#include <string>

#include "platform/last_error.h"
#include "platform/platform_lock.h"

namespace {

constexpr std::size_t kLongestPath = 255;
constexpr UINT kQuietErrors = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;  // 0x8001

std::wstring widePath(const Text& path) {
  if (path.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                         nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
  if (wide.size() > kLongestPath) wide.resize(kLongestPath);
  return wide;
}

}  // namespace

void makeFolder(const Text& path) {
  const std::wstring wide = widePath(path);
  if (wide.empty() || wide.find_first_of(L"*?") != std::wstring::npos) {
    setLastError(ERROR_INVALID_NAME);
    return;
  }
  BOOL made;
  DWORD failure = 0;
  {
    PlatformCallLock hold;
    // No "insert a disk" or critical-error box for a drive that is not there.
    const UINT previousMode = SetErrorMode(kQuietErrors);
    made = CreateDirectoryW(wide.c_str(), nullptr);
    if (!made) failure = GetLastError();
    SetErrorMode(previousMode);
  }
  if (!made) setLastError(failure != 0 ? static_cast<int>(failure) : ERROR_GEN_FAILURE);
}
