// Reading and writing controls by id, and the keyboard focus. The text
// calls may come from any thread: the window system then hands them to the
// dialog's thread and waits for it.
#include <vector>

#include "platform/dialog.h"
#include "platform/win32/dialog/ansi_conversion.h"
#include "platform/win32/dialog/window_handles.h"

WindowHandle controlWindow(WindowHandle dialog, int id) {
  if (dialog == 0) return 0;
  return toWindowHandle(GetDlgItem(toHwnd(dialog), id));
}

Text getControlText(WindowHandle dialog, int id) {
  HWND control = toHwnd(controlWindow(dialog, id));
  if (control == nullptr) return Text();
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return Text();
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, buffer.data(), length + 1);
  return wideToAnsi(buffer.data(), copied);
}

void setControlText(WindowHandle dialog, int id, const Text& text) {
  HWND control = toHwnd(controlWindow(dialog, id));
  if (control == nullptr) return;
  SetWindowTextW(control, ansiToWide(text).c_str());
}

void setControlCheck(WindowHandle dialog, int id, int state) {
  HWND control = toHwnd(controlWindow(dialog, id));
  if (control == nullptr) return;
  SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

WindowHandle focusedWindow() { return toWindowHandle(GetFocus()); }

void focusWindow(WindowHandle window) { SetFocus(toHwnd(window)); }
