#include "command_support.h"

#include <cstdio>
#include <cwchar>

#include "ansi_io.h"
#include "target_window.h"

bool parseNumber(const std::wstring& text, long& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = std::wcstol(text.c_str(), &end, 0);
  return *end == L'\0';
}

HWND requireDialog() {
  HWND dialog = findMainDialog();
  if (dialog == nullptr) writeErr("bq_driver: no main window\n");
  return dialog;
}

HWND requireControl(const std::wstring& idText) {
  long id = 0;
  if (!parseNumber(idText, id)) {
    writeErr("bq_driver: not a control id: " + toAnsi(idText) + "\n");
    return nullptr;
  }
  HWND dialog = requireDialog();
  if (dialog == nullptr) return nullptr;
  HWND control = GetDlgItem(dialog, static_cast<int>(id));
  if (control == nullptr) writeErr("bq_driver: no control " + toAnsi(idText) + "\n");
  return control;
}

std::string hex8(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", value);
  return text;
}
