#include "platform/win32/dialog/dialog_procedure.h"

#include "platform/dialog.h"
#include "platform/win32/dialog/dialog_font_users.h"
#include "platform/win32/dialog/dialog_records.h"
#include "platform/win32/dialog/window_handles.h"

namespace {

// What the toolkit does with a message that the handler left alone.
INT_PTR defaultHandling(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_NCDESTROY:
      // The records are already gone; the dialog manager still frees its
      // own data and the font it made from the template.
      return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return 0;  // no control has colours of its own: the system's apply
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The window's own close command ends the dialog with result 0.
        endDialog(toWindowHandle(dialog), 0);
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      return 0;  // no status bar or toolbar to lay out
    default:
      return FALSE;
  }
}

}  // namespace

UINT endDialogMessage() {
  static const UINT message = RegisterWindowMessageW(L"BrightquillEndDialog");
  return message;
}

INT_PTR CALLBACK toolkitDialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  if (message == endDialogMessage() && message != 0) {
    endDialog(toWindowHandle(dialog), static_cast<MessageResult>(lParam));
    return TRUE;
  }
  switch (message) {
    case WM_INITDIALOG:
      // The handler gets its WM_INITDIALOG from runModal instead. FALSE: no
      // control takes the focus yet.
      noteDialogOpened();
      return FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        clearActiveDialog(dialog);
      } else {
        setActiveDialog(dialog);
      }
      return 0;
    case WM_DESTROY:
      noteDialogClosed(dialog);
      break;
    default:
      break;
  }

  MessageResult result = 0;
  const std::optional<DialogRecord> record = findDialogRecord(dialog);
  if (record && record->handler != nullptr) {
    result = record->handler(toWindowHandle(dialog), message, static_cast<MessageParam>(wParam),
                             static_cast<MessageParam>(lParam));
  }
  if (message == WM_NCDESTROY) {
    // Freed whatever the handler answered, so no record outlives its window.
    dropFontUsers(removeDialogRecord(dialog));
  }
  if (result != 0) {
    if (GetWindowLongPtrW(dialog, DWLP_MSGRESULT) == 0) {
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    }
    return result;
  }
  return defaultHandling(dialog, message, wParam);
}
