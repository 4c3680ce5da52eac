#include "platform/single_instance.h"

#include <windows.h>

#include "platform/win32/dialog/ansi_conversion.h"

namespace {

// Whether the clock that refused this start runs in this session (where its
// window, once it has one, is on this desktop).
bool heldInThisSession = false;

// Takes the session's mutex: false when a clock of this session has it.
// Tells this session's clock from another user's, who shares the folder.
bool claimForThisSession(HANDLE& mutex) {
  mutex = CreateMutexW(nullptr, FALSE, L"Local\\Brightquill clock");
  const DWORD error = GetLastError();
  if (mutex == nullptr) return error != ERROR_ACCESS_DENIED;  // denied: it exists
  if (error != ERROR_ALREADY_EXISTS) return true;
  CloseHandle(mutex);
  mutex = nullptr;
  return false;
}

}  // namespace

bool claimSingleInstance(const Text& settingsFolder) {
  HANDLE session = nullptr;
  if (!claimForThisSession(session)) {
    heldInThisSession = true;
    return false;
  }
  // c:\quillhaven is one folder for every user of the computer: a file in it,
  // held open without sharing, guards it across sessions.
  const HANDLE folder =
      CreateFileW(ansiToWide(settingsFolder + "\\brightquill.lock").c_str(), GENERIC_READ, 0,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (folder == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
    // A refused start may stay a while (in its message box): it must hold
    // nothing that would refuse the next start once the other clock is gone.
    if (session != nullptr) CloseHandle(session);
    heldInThisSession = false;
    return false;
  }
  // Both stay open for the process's life; the system closes them at its end.
  return true;
}

void showRunningInstance(const Text&, const Text& windowCaption) {
  // Absent while the running clock still greets, before its window exists,
  // and on another user's desktop.
  HWND window = FindWindowW(L"#32770", ansiToWide(windowCaption).c_str());
  if (window != nullptr) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
  }
  // A program without a console has standard error only when its starter
  // gave it one.
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error != nullptr && error != INVALID_HANDLE_VALUE) {
    const char message[] = "brightquill: Brightquill is already running\n";
    DWORD written = 0;
    WriteFile(error, message, sizeof message - 1, &written, nullptr);
  }
  // Started from the Start menu, the user sees no standard error: a clock
  // they cannot see nor end needs telling.
  if (window == nullptr && !heldInThisSession) {
    MessageBoxW(nullptr,
                L"Brightquill is already running for another user of this computer.\n\n"
                L"It can start here once that user exits it.",
                L"Brightquill", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
  }
}
