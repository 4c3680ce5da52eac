// Controls: creation with each kind's style, text and check marks.
#include "platform/memory/memory_toolkit_state.h"

namespace {

constexpr std::uint32_t kClientEdge = 0x200;  // WS_EX_CLIENTEDGE

std::uint32_t defaultStyle(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return 0x50010000;
    case ControlKind::CheckBox: return 0x50010003;
    case ControlKind::GroupBox: return 0x50000007;
    case ControlKind::RadioButton: return 0x50010009;
    case ControlKind::EditBox: return 0x50010080;  // WS_BORDER given up for the sunken edge
  }
  return 0;
}

}  // namespace

using namespace memory_toolkit;

void addControl(WindowHandle dialog, ControlKind kind, int id, const Text& text, int x, int y,
                int width, int height) {
  ToolkitState& s = state();
  std::lock_guard<std::mutex> hold(s.lock);
  DialogRecord* record = liveDialog(dialog);
  if (record == nullptr) return;
  MemoryControl control;
  control.window = s.nextHandle;
  s.nextHandle += 0x10;
  control.id = id;
  control.kind = kind;
  control.text = text;
  control.x = x;
  control.y = y;
  control.width = width;
  control.height = height;
  control.style = defaultStyle(kind);
  control.exStyle = kind == ControlKind::EditBox ? kClientEdge : 0;
  record->controls.push_back(control);
}

WindowHandle controlWindow(WindowHandle dialog, int id) {
  std::lock_guard<std::mutex> hold(state().lock);
  MemoryControl* control = liveControl(dialog, id);
  return control == nullptr ? 0 : control->window;
}

Text getControlText(WindowHandle dialog, int id) {
  Text text;
  runForControl(dialog, id, [&text, dialog, id] {
    std::lock_guard<std::mutex> hold(state().lock);
    if (MemoryControl* control = liveControl(dialog, id)) text = control->text;
  });
  return text;
}

void setControlText(WindowHandle dialog, int id, const Text& text) {
  runForControl(dialog, id, [&text, dialog, id] {
    std::lock_guard<std::mutex> hold(state().lock);
    if (MemoryControl* control = liveControl(dialog, id)) control->text = text;
  });
}

void setControlCheck(WindowHandle dialog, int id, int checkState) {
  runForControl(dialog, id, [dialog, id, checkState] {
    std::lock_guard<std::mutex> hold(state().lock);
    MemoryControl* control = liveControl(dialog, id);
    // Only check boxes and radio buttons carry a check mark.
    if (control != nullptr &&
        (control->kind == ControlKind::CheckBox || control->kind == ControlKind::RadioButton)) {
      control->check = checkState;
    }
  });
}

void setControlAccessibleName(WindowHandle dialog, int id, const Text& name) {
  std::lock_guard<std::mutex> hold(state().lock);
  if (MemoryControl* control = liveControl(dialog, id)) control->accessibleName = name;
}

void setControlUpdatesUnannounced(WindowHandle dialog, int id) {
  std::lock_guard<std::mutex> hold(state().lock);
  if (MemoryControl* control = liveControl(dialog, id)) control->updatesUnannounced = true;
}
