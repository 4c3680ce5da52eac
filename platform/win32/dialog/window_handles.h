#pragma once
// The toolkit's handles are plain integers; Win32 takes HWNDs.
#include <windows.h>

#include "platform/dialog.h"

inline HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle toWindowHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }
