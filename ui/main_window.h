#pragma once
#include "platform/dialog.h"

// Builds the main window, runs it on this thread, returns when it has ended.
void ShowMainWindow();
// The main window's event handler; never claims a message as handled.
MessageResult OnMainWindowMessage(WindowHandle window, std::uint32_t message,
                                  MessageParam wParam, MessageParam lParam);
