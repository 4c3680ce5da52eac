#include "platform/gtk/dialog_messages.h"

#include "platform/gtk/gtk_records.h"

namespace gtk_dialog {

MessageResult sendToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                           MessageParam lParam) {
  const std::optional<DialogRecord> record = findDialog(dialog);
  if (!record || record->handler == nullptr) return 0;
  const MessageResult result = record->handler(dialog, message, wParam, lParam);
  if (result != 0) return result;
  if (message == kMsgSysCommand && (wParam & 0xFFF0) == kSysCommandClose) {
    endDialog(dialog, 0);
    return 1;
  }
  return 0;
}

void sendCommand(WindowHandle dialog, int id, std::uint32_t code, MessageParam lParam) {
  const MessageParam wParam =
      (static_cast<MessageParam>(id) & 0xFFFF) | (static_cast<MessageParam>(code & 0xFFFF) << 16);
  sendToDialog(dialog, kMsgCommand, wParam, lParam);
}

void sendCloseCommand(WindowHandle dialog) { sendToDialog(dialog, kMsgSysCommand, kSysCommandClose, 0); }

}  // namespace gtk_dialog
