// Keyboard focus: one focused window for the process, a control or none.
#include "platform/memory/memory_toolkit_state.h"

using namespace memory_toolkit;

WindowHandle focusedWindow() {
  std::lock_guard<std::mutex> hold(state().lock);
  return state().focus;
}

void focusWindow(WindowHandle window) {
  std::lock_guard<std::mutex> hold(state().lock);
  // As SetFocus: a window that does not exist keeps the focus where it is.
  if (window == 0 || liveDialog(window) != nullptr || controlByWindow(window, nullptr) != nullptr) {
    state().focus = window;
  }
}

void setFocusTo(WindowHandle dialog, int id) {
  std::lock_guard<std::mutex> hold(state().lock);
  if (id == 0) {
    state().focus = 0;
  } else if (MemoryControl* control = liveControl(dialog, id)) {
    state().focus = control->window;
  }
}
