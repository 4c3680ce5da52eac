#pragma once
// Shared state of the in-memory window toolkit. One lock guards all of it;
// the handler and queued calls always run with the lock released, so they
// may call back into the toolkit.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/memory/memory_dialog.h"

namespace memory_toolkit {

struct DialogRecord {
  MemoryDialog info;
  std::thread::id owner;
  DialogHandler handler = nullptr;  // registered by runModal
  MessageResult result = 0;
  bool ending = false;  // endDialog is under way
  std::vector<MemoryControl> controls;
  std::vector<MemoryMessage> messages;
};

// A call carried out on a dialog's thread as one of its messages.
struct QueuedCall {
  WindowHandle dialog = 0;
  std::thread::id thread;
  std::function<void()> action;
  bool done = false;  // handled, or dropped because the dialog went away
};

struct ToolkitState {
  std::mutex lock;
  std::condition_variable changed;  // queue or dialog existence changed
  std::map<WindowHandle, DialogRecord> dialogs;
  std::map<FontId, MemoryFont> fonts;
  std::deque<std::shared_ptr<QueuedCall>> queue;
  WindowHandle nextHandle = 0x10010;
  FontId nextFont = 4;  // 1..3 are the toolkit's own fonts
  WindowHandle lastDialog = 0;
  WindowHandle activeDialog = 0;
  WindowHandle focus = 0;
  int openDialogs = 0;
  bool failNextDialog = false;
};

// The single process-wide state; never destroyed, so threads that outlive
// static destruction still find it.
ToolkitState& state();

// Lookups; the caller holds the lock. Null when missing or destroyed.
DialogRecord* liveDialog(WindowHandle dialog);
MemoryControl* liveControl(WindowHandle dialog, int id);
// The dialog and control owning a control window; null when none.
MemoryControl* controlByWindow(WindowHandle window, WindowHandle* dialog);

// Runs action on the dialog's thread: at once when called there, otherwise
// queued and waited for. Nothing happens when the dialog does not exist;
// a wait ends early if the dialog is destroyed before handling the call.
void runOnDialogThread(WindowHandle dialog, std::function<void()> action);
// The same for a call on one control: returns at once when it does not exist.
void runForControl(WindowHandle dialog, int id, std::function<void()> action);
// Handles the first queued call of the calling thread; false when none.
bool handleOneQueuedCall();
// With the lock held: true when the calling thread has a queued call.
bool hasQueuedCallForThisThread();
// With the lock held: drops the dialog's queued calls and wakes their callers.
void dropQueuedCalls(WindowHandle dialog);

// Gives a message to the dialog's handler (when runModal registered one),
// then the toolkit's default handling. On the dialog's thread, lock released.
MessageResult dispatchToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                               MessageParam lParam);
// Calls the handler directly and records the call, if a handler is given.
MessageResult callHandler(WindowHandle dialog, DialogHandler handler, std::uint32_t message,
                          MessageParam wParam, MessageParam lParam);

// With the lock held: the control stops using its font.
void dropFontUse(MemoryControl& control);

// Pixel size of a client area given in dialog units, for the dialog font
// "MS Sans Serif" 8 points at 96 dpi (base units 6 x 13).
int dialogUnitsToPixelsX(int units);
int dialogUnitsToPixelsY(int units);

}  // namespace memory_toolkit
