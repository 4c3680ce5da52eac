// createDialog and addControl: a hidden dialog from an in-memory template,
// then its controls one by one, all in the dialog's font.
#include "platform/dialog.h"
#include "platform/last_error.h"
#include "platform/win32/dialog/ansi_conversion.h"
#include "platform/win32/dialog/control_styles.h"
#include "platform/win32/dialog/dialog_procedure.h"
#include "platform/win32/dialog/dialog_records.h"
#include "platform/win32/dialog/dialog_template.h"
#include "platform/win32/dialog/program_icon.h"
#include "platform/win32/dialog/window_handles.h"

namespace {

constexpr DWORD kAlwaysOn = DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;  // 0x54
constexpr DWORD kAlwaysOff = WS_VISIBLE | DS_SYSMODAL;                  // 0x10000002

int showCommandFor(DWORD style) {
  if ((style & WS_MAXIMIZE) != 0) return SW_MAXIMIZE;
  if ((style & WS_MINIMIZE) != 0) return SW_MINIMIZE;
  return SW_SHOW;
}

}  // namespace

WindowHandle createDialog(WindowHandle parent, const Text& caption, int x, int y, int width,
                          int height, std::uint32_t style, std::uint32_t exStyle) {
  DWORD dialogStyle = style != 0 ? style : kDefaultDialogStyle;
  dialogStyle = (dialogStyle | kAlwaysOn) & ~kAlwaysOff;

  const std::vector<DWORD> dialogTemplate =
      buildDialogTemplate(dialogStyle, exStyle, x, y, width, height);
  HWND dialog = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
      toHwnd(parent), toolkitDialogProcedure, 0);
  if (dialog == nullptr) {
    setLastError(static_cast<int>(GetLastError()));
    return 0;
  }
  SetWindowTextW(dialog, ansiToWide(caption).c_str());
  if (parent == 0) giveProgramIcon(dialog);

  DialogRecord record;
  record.window = dialog;
  record.parent = toHwnd(parent);
  record.style = dialogStyle;
  record.exStyle = exStyle;
  record.showCommand = showCommandFor(dialogStyle);
  record.font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  addDialogRecord(record);
  return toWindowHandle(dialog);
}

void addControl(WindowHandle dialog, ControlKind kind, int id, const Text& text, int x, int y,
                int width, int height) {
  HWND parent = toHwnd(dialog);
  if (!IsWindow(parent)) {
    setLastError(ERROR_INVALID_WINDOW_HANDLE);
    return;
  }
  RECT pixels{x, y, x + width, y + height};
  MapDialogRect(parent, &pixels);

  const ControlStyle style = controlStyleFor(kind);
  HWND control = CreateWindowExW(style.exStyle, style.className, ansiToWide(text).c_str(),
                                 style.style, pixels.left, pixels.top,
                                 pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) {
    setLastError(static_cast<int>(GetLastError()));
    return;
  }
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFontOf(parent)), TRUE);

  ControlRecord record;
  record.window = control;
  record.id = id;
  record.kind = kind;
  record.style = style.style;
  record.exStyle = style.exStyle;
  addControlRecord(parent, record);
}
