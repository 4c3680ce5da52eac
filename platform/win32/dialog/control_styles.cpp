#include "platform/win32/dialog/control_styles.h"

namespace {

ControlStyle defaultStyleFor(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::PushButton:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::GroupBox:
      return {L"BUTTON", kChild | BS_GROUPBOX, 0};
    case ControlKind::RadioButton:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::EditBox:
      return {L"EDIT", kChild | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 0};
  }
  return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
}

}  // namespace

ControlStyle controlStyleFor(ControlKind kind) {
  ControlStyle style = defaultStyleFor(kind);
  if (kind == ControlKind::EditBox && (style.style & WS_BORDER) != 0) {
    style.style &= ~static_cast<DWORD>(WS_BORDER);
    style.exStyle = WS_EX_CLIENTEDGE;
  }
  return style;
}
