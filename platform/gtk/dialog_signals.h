#pragma once
// What the user does to a dialog, turned into the handler's messages with
// the Win32 numbers. Dialog thread only.
#include <gtk/gtk.h>

#include <functional>

#include "platform/dialog.h"

namespace gtk_dialog {

// The window manager's close and Alt+F4 as the close command; Tab and
// Shift+Tab through the controls in creation order; Enter and Esc as
// commands 1 and 2; activation as WM_NCACTIVATE.
void connectDialogSignals(WindowHandle dialog, GtkWidget* window);
// Clicks of buttons, check boxes and radio buttons as BN_CLICKED, an edit
// box's changes as EN_CHANGE.
void connectControlSignals(WindowHandle control, GtkWidget* widget, ControlKind kind);
// Runs change() without the clicks it causes reaching the handler: a check
// mark set by the program is no command.
void withoutClicks(const std::function<void()>& change);

}  // namespace gtk_dialog
