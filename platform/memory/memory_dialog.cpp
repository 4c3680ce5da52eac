// Dialog life: creation, the modal run, the handler with the toolkit's
// default handling, and the end.
#include "platform/memory/memory_toolkit_state.h"

namespace memory_toolkit {
namespace {

constexpr std::uint32_t kStyleAdded = 0x54;           // DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK
constexpr std::uint32_t kStyleRemoved = 0x10000002;   // WS_VISIBLE | DS_SYSMODAL
constexpr std::uint32_t kStyleMaximize = 0x01000000;  // WS_MAXIMIZE
constexpr std::uint32_t kStyleMinimize = 0x20000000;  // WS_MINIMIZE
constexpr MessageParam kSizeRestored = 0, kSizeMinimized = 1, kSizeMaximized = 2;

// The dialog's destruction after WM_CLOSE: the handler sees WM_DESTROY and
// WM_NCDESTROY, then the dialog and its controls are gone.
void destroyDialog(WindowHandle dialog, DialogHandler handler) {
  ToolkitState& s = state();
  {
    std::lock_guard<std::mutex> hold(s.lock);
    if (liveDialog(dialog) == nullptr) return;
    --s.openDialogs;
  }
  callHandler(dialog, handler, kMsgDestroy, 0, 0);
  callHandler(dialog, handler, kMsgNcDestroy, 0, 0);
  std::lock_guard<std::mutex> hold(s.lock);
  DialogRecord* record = liveDialog(dialog);
  if (record == nullptr) return;
  for (MemoryControl& control : record->controls) {
    dropFontUse(control);
    if (s.focus == control.window) s.focus = 0;
  }
  if (s.focus == dialog) s.focus = 0;
  if (s.activeDialog == dialog) s.activeDialog = 0;
  record->info.exists = false;
  record->info.visible = false;
  dropQueuedCalls(dialog);  // also wakes runModal and waiting callers
}

}  // namespace

MessageResult callHandler(WindowHandle dialog, DialogHandler handler, std::uint32_t message,
                          MessageParam wParam, MessageParam lParam) {
  if (handler == nullptr) return 0;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    auto found = state().dialogs.find(dialog);
    if (found != state().dialogs.end()) {
      found->second.messages.push_back(MemoryMessage{message, wParam, lParam});
    }
  }
  return handler(dialog, message, wParam, lParam);
}

MessageResult dispatchToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                               MessageParam lParam) {
  DialogHandler handler = nullptr;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    DialogRecord* record = liveDialog(dialog);
    if (record == nullptr) return 0;
    handler = record->handler;
  }
  const MessageResult result = callHandler(dialog, handler, message, wParam, lParam);
  if (result != 0) return result;
  // The window's own close command ends the dialog with result 0.
  if (message == kMsgSysCommand && (wParam & 0xFFF0) == kSysCommandClose) {
    endDialog(dialog, 0);
    return 1;
  }
  return 0;
}

}  // namespace memory_toolkit

using namespace memory_toolkit;

WindowHandle createDialog(WindowHandle parent, const Text& caption, int x, int y, int width,
                          int height, std::uint32_t style, std::uint32_t exStyle) {
  ToolkitState& s = state();
  std::lock_guard<std::mutex> hold(s.lock);
  if (s.failNextDialog) {
    s.failNextDialog = false;
    return 0;
  }
  const WindowHandle handle = s.nextHandle;
  s.nextHandle += 0x10;
  DialogRecord& record = s.dialogs[handle];
  record.owner = std::this_thread::get_id();
  record.info.exists = true;
  record.info.parent = parent;
  record.info.caption = caption;
  record.info.x = x;
  record.info.y = y;
  record.info.width = width;
  record.info.height = height;
  record.info.style = ((style == 0 ? kDefaultDialogStyle : style) | kStyleAdded) & ~kStyleRemoved;
  record.info.exStyle = exStyle;
  ++s.openDialogs;
  s.lastDialog = handle;
  return handle;
}

MessageResult runModal(WindowHandle dialog, DialogHandler handler) {
  ToolkitState& s = state();
  MessageParam sizeKind = kSizeRestored;
  MessageParam clientSize = 0;
  {
    std::lock_guard<std::mutex> hold(s.lock);
    DialogRecord* record = liveDialog(dialog);
    // Only the thread that made the dialog can run it.
    if (record == nullptr || record->owner != std::this_thread::get_id()) return 0;
    if (record->info.style & kStyleMaximize) sizeKind = kSizeMaximized;
    else if (record->info.style & kStyleMinimize) sizeKind = kSizeMinimized;
    clientSize = static_cast<MessageParam>(dialogUnitsToPixelsX(record->info.width) & 0xFFFF) |
                 static_cast<MessageParam>(dialogUnitsToPixelsY(record->info.height) & 0xFFFF)
                     << 16;
  }
  // Before the dialog is visible; the results are ignored.
  callHandler(dialog, handler, kMsgInitDialog, dialog, 0);
  callHandler(dialog, handler, kMsgSize, sizeKind, clientSize);

  std::unique_lock<std::mutex> hold(s.lock);
  DialogRecord* record = liveDialog(dialog);
  if (record == nullptr) return 0;
  record->handler = handler;
  record->info.visible = true;
  record->info.running = true;
  s.activeDialog = dialog;
  while (true) {
    // Blocks instead of polling: real time must not matter to tests.
    s.changed.wait(hold, [&] {
      return liveDialog(dialog) == nullptr || hasQueuedCallForThisThread();
    });
    if (liveDialog(dialog) == nullptr) break;
    hold.unlock();
    handleOneQueuedCall();
    hold.lock();
  }
  auto found = s.dialogs.find(dialog);
  if (found == s.dialogs.end()) return 0;  // forgotten by a reset
  found->second.info.running = false;
  return found->second.result;
}

void endDialog(WindowHandle dialog, MessageResult result) {
  DialogHandler handler = nullptr;
  {
    std::unique_lock<std::mutex> hold(state().lock);
    DialogRecord* record = liveDialog(dialog);
    if (record == nullptr) return;
    if (record->owner != std::this_thread::get_id()) {
      // Carried out by the dialog's thread, like any message to it.
      hold.unlock();
      runOnDialogThread(dialog, [dialog, result] { endDialog(dialog, result); });
      return;
    }
    record->result = result;
    if (record->ending) return;
    record->ending = true;
    handler = record->handler;
  }
  callHandler(dialog, handler, kMsgClose, 0, 0);
  destroyDialog(dialog, handler);
}
