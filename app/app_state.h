#pragma once
// Process-wide values of the application shell.
#include <atomic>

#include "platform/dialog.h"

// Set once by "Exit" (or the window's end) and never cleared.
extern std::atomic<bool> QuitFlag;
// The main window's handle; 0 until the dialog thread has made it.
extern std::atomic<WindowHandle> MainWindow;
