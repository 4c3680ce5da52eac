#include "platform/autostart.h"

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Brightquill";

// The full path of the running exe; empty when it does not fit the longest
// path Windows has.
std::wstring runningProgram() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::wstring();
  path.resize(length);
  return path;
}

}  // namespace

bool setStartAtSignIn(bool on) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool done;
  if (on) {
    const std::wstring program = runningProgram();
    // Quoted, so that a path with blanks ("Program Files") is one command.
    const std::wstring command = L"\"" + program + L"\"";
    done = !program.empty() &&
           RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
  } else {
    const LSTATUS removed = RegDeleteValueW(key, kValueName);
    done = removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
  }
  RegCloseKey(key);
  return done;
}
