// Running a dialog modally on its own thread, ending it, and taking one
// pending event at a time. The modal loop blocks in the main loop's wait:
// the window costs nothing while nothing happens.
#include <thread>

#include "platform/dialog.h"
#include "platform/gtk/dialog_fonts.h"
#include "platform/gtk/dialog_messages.h"
#include "platform/gtk/gtk_records.h"
#include "platform/gtk/hand_over.h"
#include "platform/gtk/toolkit_start.h"

using namespace gtk_dialog;

namespace {

constexpr MessageParam kSizeRestored = 0;

bool ownedHere(const std::optional<DialogRecord>& record) {
  return record && record->owner == std::this_thread::get_id();
}

// The client area's pixel size as WM_SIZE gives it: width low, height high.
MessageParam clientSizeOf(const DialogRecord& record) {
  int width = 0;
  int height = 0;
  gtk_widget_get_size_request(record.fixed, &width, &height);
  return (static_cast<MessageParam>(height & 0xFFFF) << 16) |
         static_cast<MessageParam>(width & 0xFFFF);
}

// As the Windows dialog manager does on the first activation: the first
// control that takes the focus gets it.
void focusFirstControl(WindowHandle dialog) {
  for (const ControlRecord& control : controlsOf(dialog)) {
    if (control.kind == ControlKind::GroupBox) continue;
    gtk_widget_grab_focus(control.widget);
    return;
  }
}

// The handler's last two messages; then the window and its records go, and
// callers still waiting for the dialog's thread return.
void destroyDialog(WindowHandle dialog) {
  sendToDialog(dialog, kMsgDestroy, 0, 0);
  sendToDialog(dialog, kMsgNcDestroy, 0, 0);
  std::vector<ControlRecord> controls;
  const std::optional<DialogRecord> record = removeDialogRecord(dialog, &controls);
  dropHandOvers(dialog);
  if (!record) return;
  dropFontUsers(controls);
  gtk_widget_destroy(record->window);
  if (record->noRadio != nullptr) {
    gtk_widget_destroy(record->noRadio);
    g_object_unref(record->noRadio);
  }
}

}  // namespace

MessageResult runModal(WindowHandle dialog, DialogHandler handler) {
  const std::optional<DialogRecord> record = findDialog(dialog);
  if (!ownedHere(record)) return 0;

  // Registered before the handler's first call, so that an end it asks for
  // right away still keeps its result.
  MessageResult result = 0;
  registerHandler(dialog, nullptr, &result);
  if (handler != nullptr) {
    handler(dialog, kMsgInitDialog, dialog, 0);
    if (dialogExists(dialog)) handler(dialog, kMsgSize, kSizeRestored, clientSizeOf(*record));
  }
  if (!dialogExists(dialog)) return result;
  registerHandler(dialog, handler, &result);

  focusFirstControl(dialog);
  gtk_widget_show_all(record->window);
  gtk_window_present(GTK_WINDOW(record->window));
  while (dialogExists(dialog)) g_main_context_iteration(nullptr, TRUE);
  return result;
}

void endDialog(WindowHandle dialog, MessageResult result) {
  const std::optional<DialogRecord> record = findDialog(dialog);
  if (!record) return;
  if (!ownedHere(record)) {
    // Only the dialog's own thread may destroy it.
    runOnDialogThread(dialog, [dialog, result] { endDialog(dialog, result); });
    return;
  }
  // A second end while the first is under way (for instance from the
  // handler's WM_CLOSE) is ignored.
  if (!beginEnding(dialog, result)) return;
  sendToDialog(dialog, kMsgClose, 0, 0);
  destroyDialog(dialog);
}

int pumpOneMessage(std::uint32_t milliseconds) {
  // Only GTK's own thread has events to take; any other just pauses.
  const bool handled = onToolkitThread() && g_main_context_iteration(nullptr, FALSE);
  if (!handled) g_usleep(static_cast<gulong>(milliseconds) * 1000);
  return openDialogCount();
}
