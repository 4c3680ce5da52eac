#include "platform/single_instance.h"

#include <windows.h>

#include "platform/win32/dialog/ansi_conversion.h"

bool claimSingleInstance(const Text&) {
  // In the session's own namespace: one clock per signed-in user. The handle
  // is never closed; the system closes it when the process ends.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Brightquill clock");
  const DWORD error = GetLastError();
  if (mutex == nullptr) return error != ERROR_ACCESS_DENIED;  // denied: it exists
  return error != ERROR_ALREADY_EXISTS;
}

void showRunningInstance(const Text& windowCaption) {
  // Absent while the running clock still greets, before its window exists.
  HWND window = FindWindowW(L"#32770", ansiToWide(windowCaption).c_str());
  if (window != nullptr) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
  }
  // A program without a console has standard error only when its starter
  // gave it one.
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
  const char message[] = "brightquill: Brightquill is already running\n";
  DWORD written = 0;
  WriteFile(error, message, sizeof message - 1, &written, nullptr);
}
