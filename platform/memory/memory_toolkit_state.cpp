// The toolkit's process-wide state, its lookups and what tests can read.
#include "platform/memory/memory_toolkit_state.h"

#include "platform/dialog_units.h"

namespace memory_toolkit {

ToolkitState& state() {
  static ToolkitState* const instance = new ToolkitState;
  return *instance;
}

DialogRecord* liveDialog(WindowHandle dialog) {
  if (dialog == 0) return nullptr;
  auto found = state().dialogs.find(dialog);
  if (found == state().dialogs.end() || !found->second.info.exists) return nullptr;
  return &found->second;
}

MemoryControl* liveControl(WindowHandle dialog, int id) {
  DialogRecord* record = liveDialog(dialog);
  if (record == nullptr) return nullptr;
  for (MemoryControl& control : record->controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

MemoryControl* controlByWindow(WindowHandle window, WindowHandle* dialog) {
  if (window == 0) return nullptr;
  for (auto& [handle, record] : state().dialogs) {
    if (!record.info.exists) continue;
    for (MemoryControl& control : record.controls) {
      if (control.window == window) {
        if (dialog != nullptr) *dialog = handle;
        return &control;
      }
    }
  }
  return nullptr;
}

int dialogUnitsToPixelsX(int units) { return DialogUnits{}.toPixelsX(units); }
int dialogUnitsToPixelsY(int units) { return DialogUnits{}.toPixelsY(units); }

}  // namespace memory_toolkit

using namespace memory_toolkit;

WindowHandle lastCreatedDialog() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().lastDialog;
}

MemoryDialog dialogState(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(state().lock);
  auto found = state().dialogs.find(dialog);
  return found == state().dialogs.end() ? MemoryDialog{} : found->second.info;
}

std::vector<MemoryControl> dialogControls(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(state().lock);
  DialogRecord* record = liveDialog(dialog);
  return record == nullptr ? std::vector<MemoryControl>{} : record->controls;
}

MemoryControl controlState(WindowHandle dialog, int id) {
  std::lock_guard<std::mutex> hold(state().lock);
  MemoryControl* control = liveControl(dialog, id);
  return control == nullptr ? MemoryControl{} : *control;
}

std::vector<MemoryMessage> handlerMessages(WindowHandle dialog) {
  std::lock_guard<std::mutex> hold(state().lock);
  auto found = state().dialogs.find(dialog);
  return found == state().dialogs.end() ? std::vector<MemoryMessage>{} : found->second.messages;
}

int openDialogCount() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().openDialogs;
}

WindowHandle activeDialog() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().activeDialog;
}

void failNextDialog() {
  std::lock_guard<std::mutex> hold(state().lock);
  state().failNextDialog = true;
}

void resetMemoryToolkit() {
  ToolkitState& s = state();
  std::lock_guard<std::mutex> hold(s.lock);
  // Waiting callers return as if their dialog had gone away.
  for (auto& call : s.queue) call->done = true;
  s.queue.clear();
  s.dialogs.clear();
  s.fonts.clear();
  s.nextFont = 4;
  s.lastDialog = 0;
  s.activeDialog = 0;
  s.focus = 0;
  s.openDialogs = 0;
  s.failNextDialog = false;
  s.changed.notify_all();
}

int memoryDialogUnitsToPixelsX(int units) { return dialogUnitsToPixelsX(units); }
int memoryDialogUnitsToPixelsY(int units) { return dialogUnitsToPixelsY(units); }
