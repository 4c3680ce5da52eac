// Running a dialog modally on its own thread, ending it, and taking one
// message at a time. The loops poll with 1 ms pauses instead of blocking, so
// the dialog thread keeps its own pace.
#include "platform/dialog.h"
#include "platform/win32/dialog/dialog_procedure.h"
#include "platform/win32/dialog/dialog_records.h"
#include "platform/win32/dialog/window_handles.h"

namespace {

WPARAM sizeKindFor(int showCommand) {
  if (showCommand == SW_MAXIMIZE) return SIZE_MAXIMIZED;
  if (showCommand == SW_MINIMIZE) return SIZE_MINIMIZED;
  return SIZE_RESTORED;
}

// Gives a message to the dialog's keyboard handling (accelerators, then Tab,
// Enter, Esc and the arrows); true when it took the message.
bool dialogTakes(HWND dialog, HACCEL accelerators, MSG& message) {
  if (accelerators != nullptr && TranslateAcceleratorW(dialog, accelerators, &message) != 0) {
    return true;
  }
  return IsDialogMessageW(dialog, &message) != 0;
}

}  // namespace

MessageResult runModal(WindowHandle dialogHandle, DialogHandler handler) {
  HWND dialog = toHwnd(dialogHandle);
  const std::optional<DialogRecord> record = findDialogRecord(dialog);
  if (!record || !IsWindow(dialog)) return 0;

  // Registered before the handler's first call, so that an end it asks for
  // right away still keeps its result.
  MessageResult result = 0;
  setResultTarget(dialog, &result);

  SetForegroundWindow(dialog);
  if (handler != nullptr) {
    handler(dialogHandle, WM_INITDIALOG, dialogHandle, 0);
    RECT client{};
    if (IsWindow(dialog) && GetClientRect(dialog, &client)) {
      const auto width = static_cast<unsigned>(client.right - client.left) & 0xFFFF;
      const auto height = static_cast<unsigned>(client.bottom - client.top) & 0xFFFF;
      handler(dialogHandle, WM_SIZE, sizeKindFor(record->showCommand), (height << 16) | width);
    }
  }
  registerHandler(dialog, handler);

  HWND parent = record->parent;
  if (parent != nullptr && IsWindow(dialog)) {
    SendMessageW(parent, WM_CANCELMODE, 0, 0);
    EnableWindow(parent, FALSE);
  }
  if (IsWindow(dialog)) ShowWindow(dialog, record->showCommand);

  // Checked on every pass, idle or not: the dialog may end while no
  // message of this thread is waiting.
  while (IsWindow(dialog)) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (parent != nullptr && (record->style & DS_NOIDLEMSG) == 0) {
        SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
      }
      Sleep(1);
      continue;
    }
    if (dialogTakes(dialog, record->accelerators, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  if (parent != nullptr) {
    EnableWindow(parent, TRUE);  // in case the dialog went without endDialog
    SetFocus(parent);
  }
  return result;
}

void endDialog(WindowHandle dialogHandle, MessageResult result) {
  HWND dialog = toHwnd(dialogHandle);
  if (!IsWindow(dialog)) return;
  // Only the dialog's own thread can destroy it: from any other thread the
  // end is handed to that thread, and this one waits until it is done.
  if (GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) {
    SendMessageW(dialog, endDialogMessage(), 0, static_cast<LPARAM>(result));
    return;
  }
  // A second end while the first is under way (for instance from the
  // handler's WM_CLOSE) is ignored.
  if (!beginEnding(dialog, result)) return;
  const std::optional<DialogRecord> record = findDialogRecord(dialog);

  SendMessageW(dialog, WM_CLOSE, 0, 0);
  if (record && record->parent != nullptr) EnableWindow(record->parent, TRUE);
  if (record && record->accelerators != nullptr) DestroyAcceleratorTable(record->accelerators);
  DestroyWindow(dialog);
}

int pumpOneMessage(std::uint32_t sleepMs) {
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    HWND dialog = activeDialog();
    bool taken = false;
    if (dialog != nullptr && IsWindow(dialog)) {
      const std::optional<DialogRecord> record = findDialogRecord(dialog);
      taken = dialogTakes(dialog, record ? record->accelerators : nullptr, message);
    }
    if (!taken) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } else {
    Sleep(sleepMs);
  }
  return openDialogCount();
}
