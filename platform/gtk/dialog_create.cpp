// createDialog and addControl: a hidden, fixed-size window whose client area
// places each control at its rectangle, dialog units turned into pixels
// with the base units of the dialog font.
#include <thread>

#include "platform/dialog.h"
#include "platform/gtk/dialog_signals.h"
#include "platform/gtk/dialog_units.h"
#include "platform/gtk/gtk_records.h"
#include "platform/gtk/toolkit_css.h"
#include "platform/gtk/toolkit_start.h"
#include "platform/posix/utf8_text.h"

using namespace gtk_dialog;

namespace {

DialogUnits unitsOfDialogFont() {
  PangoContext* context = gdk_pango_context_get_for_screen(gdk_screen_get_default());
  PangoFontDescription* font = newDialogFontDescription();
  const DialogUnits units = measureDialogUnits(context, font);
  pango_font_description_free(font);
  g_object_unref(context);
  return units;
}

// The radio group's hidden member, active while no radio button is marked.
GtkWidget* noRadioOf(WindowHandle dialog, const DialogRecord& record) {
  if (record.noRadio != nullptr) return record.noRadio;
  GtkWidget* noRadio = gtk_radio_button_new(nullptr);
  g_object_ref_sink(noRadio);
  setNoRadio(dialog, noRadio);
  return noRadio;
}

GtkWidget* newControlWidget(WindowHandle dialog, const DialogRecord& record, ControlKind kind,
                            const std::string& text) {
  switch (kind) {
    case ControlKind::PushButton:
      return gtk_button_new_with_label(text.c_str());
    case ControlKind::CheckBox:
      return gtk_check_button_new_with_label(text.c_str());
    case ControlKind::GroupBox:
      return gtk_frame_new(text.c_str());
    case ControlKind::RadioButton:
      // No control starts a group of its own: all radio buttons form one.
      return gtk_radio_button_new_with_label_from_widget(
          GTK_RADIO_BUTTON(noRadioOf(dialog, record)), text.c_str());
    case ControlKind::EditBox: {
      GtkWidget* entry = gtk_entry_new();
      gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
      gtk_entry_set_width_chars(GTK_ENTRY(entry), 0);  // as wide as its rectangle
      return entry;
    }
  }
  return nullptr;
}

}  // namespace

WindowHandle createDialog(WindowHandle parent, const Text& caption, int x, int y, int width,
                          int height, std::uint32_t /*style*/, std::uint32_t /*exStyle*/) {
  if (!startToolkitOnThisThread()) return 0;
  DialogRecord record;
  record.handle = newHandle();
  record.owner = std::this_thread::get_id();
  record.units = unitsOfDialogFont();

  // Fixed size, no close, minimise or maximise box: the close command is
  // Alt+F4 (or the window manager's own).
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), ansiToUtf8(caption).c_str());
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_deletable(GTK_WINDOW(window), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_move(GTK_WINDOW(window), record.units.toPixelsX(x), record.units.toPixelsY(y));
  if (const std::optional<DialogRecord> owner = findDialog(parent)) {
    gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(owner->window));
  }
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, record.units.toPixelsX(width),
                              record.units.toPixelsY(height));
  gtk_container_add(GTK_CONTAINER(window), fixed);
  record.window = window;
  record.fixed = fixed;
  addDialogRecord(record);
  connectDialogSignals(record.handle, window);
  return record.handle;
}

void addControl(WindowHandle dialog, ControlKind kind, int id, const Text& text, int x, int y,
                int width, int height) {
  const std::optional<DialogRecord> record = findDialog(dialog);
  if (!record || record->owner != std::this_thread::get_id()) return;

  ControlRecord control;
  control.handle = newHandle();
  control.id = id;
  control.kind = kind;
  control.widget = newControlWidget(dialog, *record, kind, ansiToUtf8(text));
  const DialogUnits& units = record->units;
  const int left = units.toPixelsX(x);
  const int top = units.toPixelsY(y);
  // A caption too long for its rectangle is cut, as on Windows, rather than
  // making the control larger.
  if (GTK_IS_BUTTON(control.widget) && GTK_IS_LABEL(gtk_bin_get_child(GTK_BIN(control.widget)))) {
    gtk_label_set_ellipsize(GTK_LABEL(gtk_bin_get_child(GTK_BIN(control.widget))),
                            PANGO_ELLIPSIZE_END);
  }
  gtk_widget_set_size_request(control.widget, units.toPixelsX(x + width) - left,
                              units.toPixelsY(y + height) - top);
  gtk_fixed_put(GTK_FIXED(record->fixed), control.widget, left, top);
  addControlRecord(dialog, control);
  connectControlSignals(control.handle, control.widget, kind);
}
