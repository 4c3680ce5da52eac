#pragma once
// Work for a dialog's widgets done on the dialog's own thread, which alone
// may touch them.
#include <functional>

#include "platform/dialog.h"

namespace gtk_dialog {

// On the dialog's thread: runs action at once. On any other thread: hands it
// to the dialog's main loop and waits until it has run there. Returns at once
// without running it when the dialog does not exist; a wait ends, without
// the action, when the dialog ends before its thread took it.
void runOnDialogThread(WindowHandle dialog, std::function<void()> action);
// Wakes every caller still waiting for this dialog; called as it ends.
void dropHandOvers(WindowHandle dialog);

}  // namespace gtk_dialog
