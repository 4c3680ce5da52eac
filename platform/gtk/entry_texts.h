#pragma once
// What each edit box shows, readable from any thread: kept on the dialog's
// thread from the entry's own change signal, so that another thread can see
// without waking the dialog's thread that setting a text would change nothing.
#include <string>

#include "platform/dialog.h"

namespace gtk_dialog {

// On the dialog's thread, whenever the entry's text changes.
void rememberEntryText(WindowHandle control, const char* utf8);
// Whether the edit box is known to show exactly this text.
bool entryShows(WindowHandle control, const std::string& utf8);

}  // namespace gtk_dialog
