#include "target_window.h"

#include <cstdlib>
#include <vector>

namespace {

BOOL CALLBACK considerWindow(HWND window, LPARAM found) {
  static const wchar_t* const chosen = _wgetenv(L"BQ_DRIVER_CAPTION");
  static const std::wstring start = chosen != nullptr ? chosen : L"BQC";
  if (!IsWindowVisible(window) || windowClass(window) != L"#32770") return TRUE;
  wchar_t caption[64] = {};
  // InternalGetWindowText reads the caption without sending a message, so a
  // busy program cannot stall the search.
  InternalGetWindowText(window, caption, 64);
  if (wcsncmp(caption, start.c_str(), start.size()) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND findMainDialog() {
  HWND found = nullptr;
  EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND waitMainDialog(DWORD ms) {
  const double end = nowMs() + ms;
  for (;;) {
    if (HWND dialog = findMainDialog()) return dialog;
    if (nowMs() >= end) return nullptr;
    Sleep(50);
  }
}

std::wstring windowClass(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::optional<std::wstring> readText(HWND window, UINT timeoutMs) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length)) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL, timeoutMs,
                           &copied)) {
    return std::nullopt;
  }
  return std::wstring(buffer.data(), copied);
}

bool writeText(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

std::optional<LRESULT> readCheck(HWND window) {
  DWORD_PTR state = 0;
  if (!SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &state)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(state);
}

HWND focusedWindow(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

double nowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
