#pragma once
// The toolkit's own dialog procedure, given to every dialog it creates. It
// keeps the open-dialog count and the active dialog, passes messages to the
// dialog's handler once runModal has registered one, and supplies the
// toolkit's default handling where the handler leaves a message alone.
#include <windows.h>

INT_PTR CALLBACK toolkitDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The message by which endDialog, called on another thread, hands the end of
// a dialog to the dialog's own thread (only that thread can destroy it).
// lParam carries the result.
UINT endDialogMessage();
