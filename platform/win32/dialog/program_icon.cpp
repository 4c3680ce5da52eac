#include "platform/win32/dialog/program_icon.h"

namespace {

// The exe's icon group 1, drawn for one of the system's two icon sizes.
// Shared icons stay loaded for the process and are never destroyed.
HICON programIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

void giveProgramIcon(HWND window) {
  HICON bigIcon = programIcon(SM_CXICON, SM_CYICON);
  HICON smallIcon = programIcon(SM_CXSMICON, SM_CYSMICON);
  if (bigIcon != nullptr) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  }
  if (smallIcon != nullptr) {
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  }
}
