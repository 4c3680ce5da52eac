// A WH_CALLWNDPROC hook that the driver installs on the program's dialog
// thread. When the dialog receives kProbeMessage, the hook reads inside the
// program what other processes cannot: the dialog-unit conversion of the
// dialog (MapDialogRect), the fonts of the dialog and its controls, and the
// dialog's icons.
#include <windows.h>

#include "probe_protocol.h"

namespace {

void describeFont(HWND window, LONG& hasFont, LOGFONTW& font) {
  HFONT handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  hasFont = handle != nullptr && GetObjectW(handle, sizeof font, &font) == sizeof font;
}

// The size of the window's icon of kind `which`; 0 x 0 when it has none.
SIZE iconSize(HWND window, WPARAM which) {
  HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  ICONINFO info = {};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return SIZE{0, 0};
  // A colour icon's size is its colour bitmap's; a monochrome icon's mask
  // holds the AND and XOR halves one above the other.
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  SIZE size{bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return size;
}

void answer(HWND dialog) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kProbeMemory);
  if (mapping == nullptr) return;
  auto* block = static_cast<ProbeBlock*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeBlock)));
  if (block != nullptr) {
    block->rectsMapped = 1;
    for (LONG i = 0; i < block->rectCount && i < kProbeMaxRects; ++i) {
      if (!MapDialogRect(dialog, &block->rects[i])) block->rectsMapped = 0;
    }
    HDC context = GetDC(dialog);
    block->logPixelsY = GetDeviceCaps(context, LOGPIXELSY);
    ReleaseDC(dialog, context);
    describeFont(dialog, block->dialogHasFont, block->dialogFont);
    block->bigIcon = iconSize(dialog, ICON_BIG);
    block->smallIcon = iconSize(dialog, ICON_SMALL);
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LONG count = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr && count < kProbeMaxControls;
         child = GetWindow(child, GW_HWNDNEXT)) {
      ProbeControl& control = block->controls[count++];
      control.id = GetDlgCtrlID(child);
      describeFont(child, control.hasFont, control.font);
      control.isDialogFont =
          reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == dialogFont;
    }
    block->controlCount = count;
    block->answered = 1;
    UnmapViewOfFile(block);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeCallWndProc(int code, WPARAM wParam,
                                                                    LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageW(kProbeMessage);
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == probeMessage) answer(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
