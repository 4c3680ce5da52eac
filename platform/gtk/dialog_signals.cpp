#include "platform/gtk/dialog_signals.h"

#include "platform/gtk/dialog_messages.h"
#include "platform/gtk/entry_texts.h"
#include "platform/gtk/gtk_records.h"

namespace gtk_dialog {
namespace {

// Set while the program itself changes a check mark.
thread_local bool clicksHeldBack = false;

gpointer asData(WindowHandle handle) { return reinterpret_cast<gpointer>(handle); }
WindowHandle asHandle(gpointer data) { return reinterpret_cast<WindowHandle>(data); }

// Moves the focus to the next (or previous) control that takes it, in
// creation order and round, skipping group boxes.
void moveFocus(WindowHandle dialog, GtkWindow* window, bool forward) {
  std::vector<GtkWidget*> stops;
  for (const ControlRecord& control : controlsOf(dialog)) {
    if (control.kind != ControlKind::GroupBox && gtk_widget_is_sensitive(control.widget)) {
      stops.push_back(control.widget);
    }
  }
  if (stops.empty()) return;
  const int count = static_cast<int>(stops.size());
  GtkWidget* focus = gtk_window_get_focus(window);
  int at = forward ? -1 : count;
  for (int i = 0; i < count; ++i) {
    if (stops[static_cast<std::size_t>(i)] == focus) at = i;
  }
  const int next = ((forward ? at + 1 : at - 1) + count) % count;
  gtk_widget_grab_focus(stops[static_cast<std::size_t>(next)]);
}

// Enter clicks a push button that has the focus; anywhere else it is
// command 1, as the Windows dialog manager makes it.
void pressEnter(WindowHandle dialog, GtkWindow* window) {
  GtkWidget* focus = gtk_window_get_focus(window);
  const std::optional<ControlRecord> control = findControlByWidget(focus, nullptr);
  if (control && control->kind == ControlKind::PushButton) {
    gtk_button_clicked(GTK_BUTTON(focus));
  } else {
    sendCommand(dialog, kIdOk, kNotifyClicked, 0);
  }
}

gboolean onKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
  const WindowHandle dialog = asHandle(data);
  const auto modifiers =
      event->state & (GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK);
  switch (event->keyval) {
    case GDK_KEY_F4:
      if (modifiers != GDK_MOD1_MASK) return FALSE;
      sendCloseCommand(dialog);
      return TRUE;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
      if ((modifiers & ~GDK_SHIFT_MASK) != 0) return FALSE;
      moveFocus(dialog, GTK_WINDOW(window), (modifiers & GDK_SHIFT_MASK) == 0 &&
                                                event->keyval != GDK_KEY_ISO_Left_Tab);
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      pressEnter(dialog, GTK_WINDOW(window));
      return TRUE;
    case GDK_KEY_Escape:
      sendCommand(dialog, kIdCancel, kNotifyClicked, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
  sendCloseCommand(asHandle(data));
  return TRUE;  // the dialog ends only through endDialog
}

void onActiveChanged(GObject* window, GParamSpec*, gpointer data) {
  const bool active = gtk_window_is_active(GTK_WINDOW(window));
  sendToDialog(asHandle(data), kMsgNcActivate, active ? 1 : 0, 0);
}

void onClicked(GtkButton* button, gpointer data) {
  if (clicksHeldBack) return;
  // A radio button that is cleared because another was clicked also reports
  // a click; only the one now marked sends the command.
  if (GTK_IS_RADIO_BUTTON(button) && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button))) {
    return;
  }
  WindowHandle dialog = 0;
  const std::optional<ControlRecord> control = findControlByHandle(asHandle(data), &dialog);
  if (control) sendCommand(dialog, control->id, kNotifyClicked, control->handle);
}

void onEdited(GtkEditable* editable, gpointer data) {
  rememberEntryText(asHandle(data), gtk_entry_get_text(GTK_ENTRY(editable)));
  WindowHandle dialog = 0;
  const std::optional<ControlRecord> control = findControlByHandle(asHandle(data), &dialog);
  if (control) sendCommand(dialog, control->id, kNotifyEditChange, control->handle);
}

}  // namespace

void connectDialogSignals(WindowHandle dialog, GtkWidget* window) {
  g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), asData(dialog));
  g_signal_connect(window, "delete-event", G_CALLBACK(onDelete), asData(dialog));
  g_signal_connect(window, "notify::is-active", G_CALLBACK(onActiveChanged), asData(dialog));
}

void connectControlSignals(WindowHandle control, GtkWidget* widget, ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      g_signal_connect(widget, "clicked", G_CALLBACK(onClicked), asData(control));
      break;
    case ControlKind::EditBox:
      g_signal_connect(widget, "changed", G_CALLBACK(onEdited), asData(control));
      break;
    case ControlKind::GroupBox:
      break;
  }
}

void withoutClicks(const std::function<void()>& change) {
  const bool before = clicksHeldBack;
  clicksHeldBack = true;
  change();
  clicksHeldBack = before;
}

}  // namespace gtk_dialog
