// What a user does to the window, carried out on the dialog's thread as the
// window system would: clicks, typing, Enter, Esc and arbitrary messages.
#include "platform/memory/memory_toolkit_state.h"

namespace {

using namespace memory_toolkit;

MessageParam commandParam(int id, std::uint32_t code) {
  return (static_cast<MessageParam>(id) & 0xFFFF) | (static_cast<MessageParam>(code) << 16);
}

// On the dialog's thread: the control's own reaction to a click, then the
// command to the handler. Group boxes take no clicks.
void clickOnDialogThread(WindowHandle dialog, int id) {
  WindowHandle window = 0;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    MemoryControl* control = liveControl(dialog, id);
    if (control == nullptr || control->kind == ControlKind::GroupBox) return;
    window = control->window;
    state().focus = window;
    if (control->kind == ControlKind::EditBox) return;  // a click only focuses it
    if (control->kind == ControlKind::CheckBox) control->check = control->check == 0 ? 1 : 0;
    if (control->kind == ControlKind::RadioButton) {
      // No control starts a group, so all radio buttons form one.
      for (MemoryControl& other : liveDialog(dialog)->controls) {
        if (other.kind == ControlKind::RadioButton) other.check = other.window == window ? 1 : 0;
      }
    }
  }
  dispatchToDialog(dialog, kMsgCommand, commandParam(id, kNotifyClicked), window);
}

void typeOnDialogThread(WindowHandle dialog, int id, const Text& text) {
  WindowHandle window = 0;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    MemoryControl* control = liveControl(dialog, id);
    if (control == nullptr || control->kind != ControlKind::EditBox) return;
    control->text = text;
    window = control->window;
  }
  dispatchToDialog(dialog, kMsgCommand, commandParam(id, kNotifyEditChange), window);
}

// Enter clicks a push button that has the focus, else it is command IDOK.
void enterOnDialogThread(WindowHandle dialog) {
  int focusedButton = 0;
  {
    std::lock_guard<std::mutex> hold(state().lock);
    WindowHandle owner = 0;
    MemoryControl* control = controlByWindow(state().focus, &owner);
    if (control != nullptr && owner == dialog && control->kind == ControlKind::PushButton) {
      focusedButton = control->id;
    }
  }
  if (focusedButton != 0) {
    clickOnDialogThread(dialog, focusedButton);
  } else {
    dispatchToDialog(dialog, kMsgCommand, commandParam(kIdOk, kNotifyClicked), 0);
  }
}

}  // namespace

void clickControl(WindowHandle dialog, int id) {
  runForControl(dialog, id, [dialog, id] { clickOnDialogThread(dialog, id); });
}

void typeIntoControl(WindowHandle dialog, int id, const Text& text) {
  runForControl(dialog, id, [dialog, id, &text] { typeOnDialogThread(dialog, id, text); });
}

void sendToDialog(WindowHandle dialog, std::uint32_t message, MessageParam wParam,
                  MessageParam lParam) {
  runOnDialogThread(dialog, [=] { dispatchToDialog(dialog, message, wParam, lParam); });
}

void pressEnter(WindowHandle dialog) {
  runOnDialogThread(dialog, [dialog] { enterOnDialogThread(dialog); });
}

void pressEscape(WindowHandle dialog) {
  runOnDialogThread(dialog, [dialog] {
    dispatchToDialog(dialog, kMsgCommand, commandParam(kIdCancel, kNotifyClicked), 0);
  });
}
