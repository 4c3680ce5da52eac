#pragma once
// Finding the program's main window and talking to its controls from
// another process. Sent messages use a time-out, so a program that is busy
// (speaking, fetching) makes a call fail instead of hanging the test.
#include <windows.h>

#include <optional>
#include <string>

inline constexpr UINT kSendTimeoutMs = 10000;

// The visible dialog (class #32770) whose caption starts with "BQC" (or with
// BQ_DRIVER_CAPTION, such as a message box's); null if there is none.
HWND findMainDialog();
// Polls findMainDialog until it answers or `ms` have passed.
HWND waitMainDialog(DWORD ms);

std::wstring windowClass(HWND window);
// WM_GETTEXT; nothing when the window did not answer within `timeoutMs`.
std::optional<std::wstring> readText(HWND window, UINT timeoutMs = kSendTimeoutMs);
bool writeText(HWND window, const std::wstring& text);  // WM_SETTEXT
// BM_GETCHECK; nothing when the window did not answer in time.
std::optional<LRESULT> readCheck(HWND window);
// The window that has the keyboard focus in the dialog's thread, or null.
HWND focusedWindow(HWND dialog);
// Milliseconds from an arbitrary start, high resolution.
double nowMs();
