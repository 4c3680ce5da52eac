#pragma once
// The dialog and control toolkit: a dialog built in memory control by
// control, run modally with one event handler. The Windows backend is a thin
// layer over the Win32 dialog manager, the Linux desktop one over GTK 3;
// tests use an in-memory backend.
#include <cstdint>

#include "platform/text.h"

using WindowHandle = std::uintptr_t;  // 0: no window
using MessageParam = std::uintptr_t;
using MessageResult = std::intptr_t;
using FontId = int;  // 0: the toolkit's default font

// Called for every message of a dialog; a result of 0 means "not handled",
// so the toolkit's default handling follows.
using DialogHandler = MessageResult (*)(WindowHandle dialog, std::uint32_t message,
                                        MessageParam wParam, MessageParam lParam);

// Messages the program's handler looks at (the Win32 numbers).
enum : std::uint32_t {
  kMsgDestroy = 0x0002,
  kMsgSize = 0x0005,
  kMsgClose = 0x0010,
  kMsgNcActivate = 0x0086,
  kMsgInitDialog = 0x0110,
  kMsgCommand = 0x0111,
  kMsgSysCommand = 0x0112,
};
// Notification codes of a command: a click, or a command from an accelerator.
enum : std::uint32_t { kNotifyClicked = 0, kNotifyAccelerator = 1 };
// Control ids the dialog manager sends for Enter and Esc.
enum : int { kIdOk = 1, kIdCancel = 2 };
// SC_CLOSE, the window's own close command (low four bits ignored).
enum : std::uint32_t { kSysCommandClose = 0xF060 };
// The default dialog style: WS_POPUP | WS_CAPTION | DS_MODALFRAME |
// DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK.
enum : std::uint32_t { kDefaultDialogStyle = 0x80C000D4 };

enum class ControlKind { PushButton, CheckBox, GroupBox, RadioButton, EditBox };

// Position and size in dialog units. Returns 0 on failure. A style of 0 is
// the default style. The dialog is created hidden.
WindowHandle createDialog(WindowHandle parent, const Text& caption, int x, int y, int width,
                          int height, std::uint32_t style, std::uint32_t exStyle);
// Adds one control with its kind's default style; controls are created (and
// tabbed through) in call order.
void addControl(WindowHandle dialog, ControlKind kind, int id, const Text& text, int x, int y,
                int width, int height);
// Shows the dialog and handles its messages on this thread until it no
// longer exists; returns the value given to endDialog (0 without one).
MessageResult runModal(WindowHandle dialog, DialogHandler handler);
void endDialog(WindowHandle dialog, MessageResult result);
WindowHandle controlWindow(WindowHandle dialog, int id);
// Empty when the control does not exist. May be called from any thread.
Text getControlText(WindowHandle dialog, int id);
// Does nothing when the control does not exist. From another thread it
// waits until the dialog's thread has taken the text. The Linux desktop
// backend tells assistive technology nothing of a new text in the time box
// (IDC_TIME) while it has the focus: a screen reader there reads the time
// when the focus arrives, not on every tick.
void setControlText(WindowHandle dialog, int id, const Text& text);
void setControlCheck(WindowHandle dialog, int id, int state);
// The name assistive technology reads for a control, for a control whose
// caption does not name it (an edit box, or "set" in an alarm's row). The
// caption on screen stays as it is. Does nothing where the system keeps no
// such names.
void setControlAccessibleName(WindowHandle dialog, int id, const Text& name);
// styleBits: 1 bold, 2 italic, 4 underline, 8 strikeout. Points 0 means 8.
FontId createFont(const Text& face, double points, int styleBits, int charset,
                  int pitchAndFamily, int angle);
void setControlFont(WindowHandle dialog, int id, FontId font);
void releaseFont(FontId font);
// Handles at most one pending message of the calling thread, or pauses
// sleepMs when none is waiting. Returns the number of open dialogs.
int pumpOneMessage(std::uint32_t sleepMs);

// Keyboard focus of the calling thread's windows.
WindowHandle focusedWindow();
void focusWindow(WindowHandle window);
