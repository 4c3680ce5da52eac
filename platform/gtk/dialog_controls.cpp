// Reading and writing controls by id, and the keyboard focus. Calls from
// another thread are handed to the dialog's thread, which alone touches the
// widgets, and wait for it.
#include "platform/dialog.h"
#include "platform/gtk/dialog_signals.h"
#include "platform/gtk/entry_notices.h"
#include "platform/gtk/entry_texts.h"
#include "platform/gtk/gtk_records.h"
#include "platform/gtk/hand_over.h"
#include "platform/posix/utf8_text.h"
#include "ui/control_ids.h"

using namespace gtk_dialog;

namespace {

// Runs action(widget, kind) on the dialog's thread when the control exists.
template <typename Action>
void onControl(WindowHandle dialog, int id, Action action) {
  if (!findControl(dialog, id)) return;
  runOnDialogThread(dialog, [dialog, id, &action] {
    if (const std::optional<ControlRecord> control = findControl(dialog, id)) {
      action(control->widget, control->kind);
    }
  });
}

}  // namespace

WindowHandle controlWindow(WindowHandle dialog, int id) {
  const std::optional<ControlRecord> control = findControl(dialog, id);
  return control ? control->handle : 0;
}

Text getControlText(WindowHandle dialog, int id) {
  Text text;
  onControl(dialog, id, [&text](GtkWidget* widget, ControlKind kind) {
    const char* utf8 = nullptr;
    if (kind == ControlKind::EditBox) {
      utf8 = gtk_entry_get_text(GTK_ENTRY(widget));
    } else if (kind == ControlKind::GroupBox) {
      utf8 = gtk_frame_get_label(GTK_FRAME(widget));
    } else {
      utf8 = gtk_button_get_label(GTK_BUTTON(widget));
    }
    if (utf8 != nullptr) text = utf8ToAnsi(utf8);
  });
  return text;
}

void setControlText(WindowHandle dialog, int id, const Text& text) {
  const std::string utf8 = ansiToUtf8(text);
  // GTK leaves an entry that already shows the text as it is, so there is
  // nothing to hand over: the clock sets the time box on every tick, and its
  // text changes only every other tick.
  const std::optional<ControlRecord> control = findControl(dialog, id);
  if (control && control->kind == ControlKind::EditBox && entryShows(control->handle, utf8)) {
    return;
  }
  onControl(dialog, id, [id, &utf8](GtkWidget* widget, ControlKind kind) {
    if (kind == ControlKind::EditBox && id == IDC_TIME && gtk_widget_is_focus(widget)) {
      // The clock's time changes every second, and a screen reader in the
      // box would read each new time aloud; it reads the time when the
      // focus arrives, and when the user asks.
      setEntryTextUnannounced(GTK_ENTRY(widget), utf8.c_str());
    } else if (kind == ControlKind::EditBox) {
      gtk_entry_set_text(GTK_ENTRY(widget), utf8.c_str());
    } else if (kind == ControlKind::GroupBox) {
      gtk_frame_set_label(GTK_FRAME(widget), utf8.c_str());
    } else {
      gtk_button_set_label(GTK_BUTTON(widget), utf8.c_str());
    }
  });
}

void setControlCheck(WindowHandle dialog, int id, int state) {
  onControl(dialog, id, [dialog, state](GtkWidget* widget, ControlKind kind) {
    if (kind != ControlKind::CheckBox && kind != ControlKind::RadioButton) return;
    GtkWidget* marked = widget;
    if (kind == ControlKind::RadioButton && state == 0) {
      // A radio button is cleared by marking the group's hidden member.
      if (!gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget))) return;
      const std::optional<DialogRecord> record = findDialog(dialog);
      if (!record || record->noRadio == nullptr) return;
      marked = record->noRadio;
    }
    const gboolean active = kind == ControlKind::CheckBox ? state != 0 : TRUE;
    withoutClicks([marked, active] {
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(marked), active);
    });
  });
}

void setControlAccessibleName(WindowHandle dialog, int id, const Text& name) {
  const std::string utf8 = ansiToUtf8(name);
  onControl(dialog, id, [&utf8](GtkWidget* widget, ControlKind) {
    atk_object_set_name(gtk_widget_get_accessible(widget), utf8.c_str());
  });
}

WindowHandle focusedWindow() {
  const std::optional<DialogRecord> dialog = newestDialogOf(std::this_thread::get_id());
  if (!dialog) return 0;
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->window));
  const std::optional<ControlRecord> control = findControlByWidget(focus, nullptr);
  return control ? control->handle : 0;
}

void focusWindow(WindowHandle window) {
  WindowHandle dialog = 0;
  const std::optional<ControlRecord> control = findControlByHandle(window, &dialog);
  if (!control) return;
  onControl(dialog, control->id, [](GtkWidget* widget, ControlKind) {
    gtk_widget_grab_focus(widget);
  });
}
