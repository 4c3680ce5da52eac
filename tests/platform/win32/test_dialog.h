#pragma once
// A toolkit dialog owned by one test and destroyed when the test ends, and
// helpers that read back what the window system made of it. Everything here
// runs in the test's own process, where fonts and dialog units can be read.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "platform/win32/dialog/window_handles.h"

// Under Wine on a display without a window manager, Wine waits two seconds
// for one whenever a shown window with a caption goes away. The tests' own
// windows are therefore left unmanaged (a Wine setting for this program
// only, read when its display driver starts, so before the first window).
inline bool leaveWindowsUnmanagedUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) return false;
  wchar_t program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const wchar_t* name = program;
  for (const wchar_t* c = program; *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L'/') name = c + 1;
  }
  const std::wstring keyPath =
      std::wstring(L"Software\\Wine\\AppDefaults\\") + name + L"\\X11 Driver";
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const wchar_t no[] = L"N";
  const bool set = RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(no),
                                  sizeof no) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}
inline const bool windowsLeftUnmanaged = leaveWindowsUnmanagedUnderWine();

constexpr int kDialogX = 40;
constexpr int kDialogY = 50;
constexpr int kDialogWidth = 200;
constexpr int kDialogHeight = 120;

class ScopedDialog {
 public:
  explicit ScopedDialog(std::uint32_t style = 0, std::uint32_t exStyle = 0,
                        const Text& caption = "Brightquill test")
      : handle_(createDialog(0, caption, kDialogX, kDialogY, kDialogWidth, kDialogHeight, style,
                             exStyle)) {}
  ~ScopedDialog() {
    if (IsWindow(hwnd())) DestroyWindow(hwnd());
  }
  ScopedDialog(const ScopedDialog&) = delete;
  ScopedDialog& operator=(const ScopedDialog&) = delete;

  WindowHandle handle() const { return handle_; }
  HWND hwnd() const { return toHwnd(handle_); }
  HWND control(int id) const { return GetDlgItem(hwnd(), id); }

 private:
  WindowHandle handle_;
};

// A dialog-unit rectangle in pixels of this dialog.
inline RECT toPixels(HWND dialog, int x, int y, int width, int height) {
  RECT rect{x, y, x + width, y + height};
  MapDialogRect(dialog, &rect);
  return rect;
}

// A child window's rectangle in its parent's client coordinates.
inline RECT rectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline HFONT fontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

inline LOGFONTW describe(HFONT font) {
  LOGFONTW description{};
  GetObjectW(font, sizeof description, &description);
  return description;
}

inline int logPixelsYOf(HWND window) {
  HDC context = GetDC(window);
  const int logPixelsY = GetDeviceCaps(context, LOGPIXELSY);
  ReleaseDC(window, context);
  return logPixelsY;
}

// Handles this thread's messages until done() holds; false after a few
// seconds without it, so that a fault shows as a failure and not a hang.
template <typename Done>
bool pumpUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    pumpOneMessage(1);
  }
  return true;
}
