#pragma once
// What the driver and the probe hook DLL exchange. Fonts, dialog units and
// window icons cannot be read from another process under Wine, so the
// driver hooks the program's dialog thread with probe_hook.dll and sends the
// dialog the registered message kProbeMessage; the hook, running inside the
// program, answers in a named shared memory block.
#include <windows.h>

inline constexpr wchar_t kProbeMessage[] = L"BQ_E2E_PROBE";
inline constexpr wchar_t kProbeMemory[] = L"Local\\BQ_E2E_PROBE_BLOCK";
inline constexpr char kProbeHookProc[] = "probeCallWndProc";

inline constexpr int kProbeMaxRects = 64;
inline constexpr int kProbeMaxControls = 64;

struct ProbeControl {
  LONG id;
  LONG hasFont;     // WM_GETFONT gave a font handle
  LONG isDialogFont;  // ... and it is the dialog's own font
  LOGFONTW font;
};

struct ProbeBlock {
  // Filled by the driver: rectangles in dialog units (left, top, right,
  // bottom), converted in place by MapDialogRect on the program's dialog.
  LONG rectCount;
  RECT rects[kProbeMaxRects];
  LONG rectsMapped;  // MapDialogRect succeeded for every one

  // Filled by the hook.
  LONG answered;
  LONG logPixelsY;  // of the dialog's device context
  LONG dialogHasFont;
  LOGFONTW dialogFont;
  SIZE bigIcon;    // WM_GETICON ICON_BIG: the icon's size, 0 x 0 for none
  SIZE smallIcon;  // ... ICON_SMALL
  LONG controlCount;  // children in Z order
  ProbeControl controls[kProbeMaxControls];
};
