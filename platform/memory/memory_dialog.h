#pragma once
// The test side of the in-memory window toolkit: what a test can see of the
// dialogs and controls the program made, and the user's actions it can
// simulate. A user action is carried out on the dialog's thread as one of its
// messages: called from another thread it waits until that thread has handled
// it; called on the dialog's own thread it is handled at once.
#include <cstdint>
#include <vector>

#include "platform/dialog.h"

// Messages and notifications the toolkit sends besides those of dialog.h.
enum : std::uint32_t {
  kMsgNcDestroy = 0x0082,      // after WM_DESTROY, the last message of a dialog
  kNotifyEditChange = 0x0300,  // EN_CHANGE: an edit box's text was typed
};

struct MemoryControl {
  WindowHandle window = 0;
  int id = 0;
  ControlKind kind = ControlKind::PushButton;
  Text text;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int check = 0;  // 1 checked
  FontId font = 0;
  Text accessibleName;  // empty unless setControlAccessibleName gave one
  bool updatesUnannounced = false;  // set by setControlUpdatesUnannounced
};

struct MemoryDialog {
  bool exists = false;  // false once destroyed
  bool visible = false;
  WindowHandle parent = 0;
  Text caption;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  bool running = false;  // inside runModal
};

struct MemoryFont {
  Text face;
  double points = 0;
  int styleBits = 0;
  int useCount = 0;
  bool released = false;
};

// Every message the handler was called with, in order.
struct MemoryMessage {
  std::uint32_t message;
  MessageParam wParam;
  MessageParam lParam;
};

WindowHandle lastCreatedDialog();
MemoryDialog dialogState(WindowHandle dialog);
// All controls in creation order; empty when the dialog does not exist.
std::vector<MemoryControl> dialogControls(WindowHandle dialog);
MemoryControl controlState(WindowHandle dialog, int id);
MemoryFont fontState(FontId font);
std::vector<MemoryMessage> handlerMessages(WindowHandle dialog);

// Clicks a control: a check box flips its check, a radio button is marked and
// every other radio button of the dialog cleared (they form one group); then
// the handler gets WM_COMMAND with the id and BN_CLICKED (lParam: the
// control's window). The clicked control takes the focus. Group boxes take no
// clicks; an edit box only takes the focus.
void clickControl(WindowHandle dialog, int id);
// Replaces a control's text as typing would; the handler gets WM_COMMAND with
// EN_CHANGE (0x0300).
void typeIntoControl(WindowHandle dialog, int id, const Text& text);
// Any message to the handler, with the toolkit's default handling after it
// (WM_SYSCOMMAND SC_CLOSE ends the dialog with 0).
void sendToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                  MessageParam lParam);
// Enter and Esc, as the dialog manager turns them into commands 1 and 2
// (Enter clicks a push button of the dialog that has the focus instead).
void pressEnter(WindowHandle dialog);
void pressEscape(WindowHandle dialog);
// Moves the keyboard focus to a control (0 for none).
void setFocusTo(WindowHandle dialog, int id);

// Dialogs created and not yet destroyed, and the dialog running modally (0
// when none), as pumpOneMessage and the dialog manager count them.
int openDialogCount();
WindowHandle activeDialog();
// The client size that WM_SIZE reports is in pixels: dialog units of the
// dialog font "MS Sans Serif" 8 points at 96 dpi (4 units across = 6 pixels,
// 8 units down = 13 pixels, rounded as MulDiv does).
int memoryDialogUnitsToPixelsX(int units);
int memoryDialogUnitsToPixelsY(int units);

// Calls from other threads (text, checks, user actions) waiting for the
// dialog's thread to handle them. waitForQueuedMessages blocks until at least
// count are waiting, or the dialog no longer exists (then it returns false).
int queuedMessageCount(WindowHandle dialog);
bool waitForQueuedMessages(WindowHandle dialog, int count);

// Makes the next createDialog fail (returns 0), for tests of that path.
void failNextDialog();
// Forgets every dialog and font; call between tests.
void resetMemoryToolkit();
