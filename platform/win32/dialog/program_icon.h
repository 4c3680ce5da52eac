#pragma once
// Gives a top-level window the program's own icon, so that the taskbar and
// Alt+Tab show it. A program without an icon resource leaves the window as
// it is.
#include <windows.h>

void giveProgramIcon(HWND window);
