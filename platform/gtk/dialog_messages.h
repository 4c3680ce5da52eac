#pragma once
// Messages to a dialog's handler, with the Win32 numbers, and the toolkit's
// default handling where the handler leaves one alone. Dialog thread only.
#include <cstdint>

#include "platform/dialog.h"

namespace gtk_dialog {

// Sent after WM_DESTROY, the last message of a dialog.
inline constexpr std::uint32_t kMsgNcDestroy = 0x0082;
// An edit box's text changed.
inline constexpr std::uint32_t kNotifyEditChange = 0x0300;

// Calls the registered handler (none before runModal registers it); a zero
// result gets the default handling: the close command ends the dialog with 0.
MessageResult sendToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                           MessageParam lParam);
// WM_COMMAND: the id in the low word, the notification code in the high word.
void sendCommand(WindowHandle dialog, int id, std::uint32_t code, MessageParam lParam);
// The window's own close command (SC_CLOSE).
void sendCloseCommand(WindowHandle dialog);

}  // namespace gtk_dialog
